// The canned-message editor and export.
// (Placeholder steps until the message editor lands.)

#include "frmmain.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVariant>

namespace rw
{

void TfmMain::CollectMsgControls()
{
    // Rows are found by name and filed at their Tag.
    for (QObject *o : findChildren<QObject *>()) {
        const QString prefix = o->objectName().left(6);
        const QVariant tagProperty = o->property("Tag");
        const int tag = tagProperty.toInt();
        if (!tagProperty.isValid() || tag < 0 || tag >= 10)
            continue;
        if (prefix == QLatin1String("lblMsg")) {
            if (auto *l = qobject_cast<QLabel *>(o))
                MsgLabels[tag] = l;
        } else if (prefix == QLatin1String("memMsg")) {
            if (auto *m = qobject_cast<QPlainTextEdit *>(o))
                MsgMemos[tag] = m;
        }
    }
}

void TfmMain::wireMessageEditor() {}
void TfmMain::ShowMsgPage() {}
void TfmMain::cboMsgPageClick() {}
void TfmMain::memMsg0Exit(QPlainTextEdit *) {}
void TfmMain::btnDataExportClick() {}

} // namespace rw
