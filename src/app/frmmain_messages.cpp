// SPDX-License-Identifier: GPL-3.0-or-later
// The canned-message editor and export: thirty messages shown ten at a time, each
// stored into its record the moment its memo loses the focus.

#include "announcer.h"
#include "editors/dialogs.h"
#include "editors/focuswatch.h"
#include "editors/messagekeyfilter.h"
#include "editors/messagememo.h"
#include "frmmain.h"
#include "messages/messageexport.h"
#include "messages/messagerecord.h"
#include "model/settingcatalogue.h"
#include "model/settingstable.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QPushButton>

namespace rw {

void TfmMain::CollectMsgControls()
{
    // Rows are found by name and filed at their Tag. Only controls that carry a Tag are
    // rows: the "Msg #" labels share the name prefix but have none.
    for (QObject *o : findChildren<QObject *>()) {
        const QString prefix = o->objectName().left(6);
        const QVariant tagProperty = o->property("Tag");
        if (!tagProperty.isValid())
            continue;
        const int tag = tagProperty.toInt();
        if (tag < 0 || tag >= MessagesPerPage)
            continue;
        if (prefix == QLatin1String("lblMsg")) {
            if (auto *l = qobject_cast<QLabel *>(o))
                MsgLabels[tag] = l;
        } else if (prefix == QLatin1String("memMsg")) {
            if (auto *m = qobject_cast<MessageMemo *>(o))
                MsgMemos[tag] = m;
        }
    }
}

void TfmMain::wireMessageEditor()
{
    for (MessageMemo *memo : MsgMemos) {
        new MessageKeyFilter(memo, [this, memo] { messageFull(memo->property("Tag").toInt()); });
        new FocusWatch(memo, {}, [this, memo] { memMsg0Exit(memo); });
    }
    // The page changes on the user's choice only, never on a refresh.
    connect(cboMsgPage, &QComboBox::activated, this, &TfmMain::cboMsgPageClick);
    connect(btnDataExport, &QPushButton::clicked, this, &TfmMain::btnDataExportClick);
}

void TfmMain::ShowMsgPage()
{
    for (int k = 0; k < MessagesPerPage; ++k)
        MsgMemos[k]->showMessage(
            messageForMemo(table_.messageRecord(MsgPage * MessagesPerPage + k)));
}

void TfmMain::numberMsgRows()
{
    // Row k of page p shows message p * 10 + k + 1: its label reads the number with two
    // digits, and a screen reader calls its memo "Message" and the number.
    for (int k = 0; k < MessagesPerPage; ++k) {
        const int number = MsgPage * MessagesPerPage + k + 1;
        MsgLabels[k]->setText(QStringLiteral("%1").arg(number, 2, 10, QChar('0')));
        MsgMemos[k]->setAccessibleName(QStringLiteral("Message %1").arg(number));
    }
}

void TfmMain::cboMsgPageClick()
{
    MsgPage = cboMsgPage->currentIndex();
    numberMsgRows();
    ShowMsgPage();
}

void TfmMain::memMsg0Exit(MessageMemo *memo)
{
    // Passing through a memo is no edit: the record keeps its bytes as they are.
    if (!memo->typedSinceShown())
        return;
    const int record = MsgPage * MessagesPerPage + memo->property("Tag").toInt();
    QByteArray bytes = table_.messageRecord(record);
    // A pasted control character is refused, as everywhere a message is set.
    if (const auto refused = textCharacterRefusal(*settingNamed(u"message.1"), memoText(memo))) {
        dialogs_.warn(*refused);
        memo->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!storeMessage(bytes, memoText(memo))) {
        dialogs_.message(
            {QStringLiteral("Warning!"), MessageTooLongText, BoxIcon::None, BoxButtons::Ok});
        memo->setFocus(Qt::OtherFocusReason);
        return;
    }
    table_.setMessageRecord(record, bytes);
    memo->markStored();
    recordEdit();
}

void TfmMain::messageFull(int row)
{
    // Said once as the message fills, not again for every key that follows.
    const QString words = messageFullText(MsgPage * MessagesPerPage + row + 1);
    if (StatusPanel1->text() == words)
        return;
    showStatus(words);
    announcer_->announce(words);
}

void TfmMain::btnDataExportClick()
{
    const ExportResult result = exportMessages(table_, programDirectory_, QDate::currentDate());
    if (result.ok) {
        // The box is the one the technician knows, with the file below its text; the status
        // text says where it went too.
        const QString path = QDir::toNativeSeparators(result.path);
        showStatusWithPath(QStringLiteral("Messages exported to "), path);
        dialogs_.plain(QStringLiteral("Export Success\n\n") + path);
    } else
        dialogs_.warn(exportFailureMessage(result));
}

} // namespace rw
