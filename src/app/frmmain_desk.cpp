// SPDX-License-Identifier: GPL-3.0-or-later
// The File menu's commands that take another file beside the window's table: Compare with
// File (a backup, another site's table) and Import Canned Message (a list of messages,
// such as an export), which shows what it will change before it takes anything.

#include "differencesreport.h"
#include "editors/dialogs.h"
#include "frmmain.h"
#include "messages/messageimport.h"
#include "model/settingstable.h"
#include "model/tablefile.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>

namespace rw {

namespace {

const QString MessageListFilter = QStringLiteral("Message lists (*.txt);;All files (*)");

QString shownName(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// The message list's bytes; nullopt, with the reason, when it cannot be read or is far
// larger than any list of thirty messages.
std::optional<QByteArray> readMessageList(const QString &path, QString &error)
{
    // A device or a pipe is no list, and reading one might never end.
    if (!QFileInfo(path).isFile()) {
        error = QStringLiteral("it is not a file");
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return std::nullopt;
    }
    const QByteArray content = file.read(MessageListSizeLimit + 1);
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return std::nullopt;
    }
    if (content.size() > MessageListSizeLimit) {
        error = QStringLiteral("it is larger than %1 KiB, too large for a list of messages")
                    .arg(MessageListSizeLimit / 1024);
        return std::nullopt;
    }
    return content;
}

} // namespace

void TfmMain::addDeskCommands(QMenu *file)
{
    mnuRevert = file->addAction("&Revert", this, &TfmMain::mnuRevertClick);
    file->addSeparator();
    mnuCompareWithFile =
        file->addAction("Compare with &File...", QKeySequence(Qt::CTRL | Qt::Key_D), this,
                        &TfmMain::mnuCompareWithFileClick);
    mnuImportMessages =
        file->addAction("&Import Canned Message...", this, &TfmMain::mnuImportMessagesClick);
    file->addSeparator();
    mnuPrintSheet = file->addAction("&Print Settings Sheet...", QKeySequence(Qt::CTRL | Qt::Key_P),
                                    this, &TfmMain::mnuPrintSheetClick);
    mnuExportSheet =
        file->addAction("&Export Settings Sheet...", this, &TfmMain::mnuExportSheetClick);
    mnuRevert->setObjectName("mnuRevert");
    mnuCompareWithFile->setObjectName("mnuCompareWithFile");
    mnuImportMessages->setObjectName("mnuImportMessages");
    mnuPrintSheet->setObjectName("mnuPrintSheet");
    mnuExportSheet->setObjectName("mnuExportSheet");
}

void TfmMain::mnuCompareWithFileClick()
{
    // A value being typed is part of what the window holds.
    if (!commitPendingEdit())
        return;
    // Write's backups are what a technician compares with most.
    const QString folder = QFileInfo(backupFolder()).isDir() ? backupFolder() : programDirectory_;
    const QString name = dialogs_.openFileName({folder, TableFileFilter, {}});
    if (name.isEmpty())
        return;
    QString reason;
    const std::optional<QByteArray> image = readTableFile(name, &reason);
    if (!image) {
        dialogs_.fileError(
            QStringLiteral("The table file %1 cannot be read.\n%2").arg(shownName(name), reason));
        return;
    }
    SettingsTable other;
    other.takeImage(*image);
    const QList<Difference> d = settingDifferences(table_, other, synth_.state());
    const QString fileName = QFileInfo(name).fileName();
    dialogs_.report(
        differencesReport(QStringLiteral("Compare with File"),
                          d.isEmpty() ? QStringLiteral("%1 holds the same settings.").arg(fileName)
                                      : differSummary(d.size(), fileName),
                          d, fileName, shownName(name)));
}

void TfmMain::mnuImportMessagesClick()
{
    if (!commitPendingEdit())
        return;
    const QString name = dialogs_.openFileName({programDirectory_, MessageListFilter, {}});
    if (name.isEmpty())
        return;
    QString reason;
    const std::optional<QByteArray> content = readMessageList(name, reason);
    if (!content) {
        dialogs_.fileError(
            QStringLiteral("The message list %1 cannot be read: %2").arg(shownName(name), reason));
        return;
    }
    SettingsTable imported = table_;
    const MessageImport read = importMessages(imported, *content);
    if (!read.ok) {
        dialogs_.warn(QStringLiteral("%1\n%2\n\nNo message was imported.")
                          .arg(shownName(name), read.refusal));
        return;
    }
    const QList<Difference> d = settingDifferences(table_, imported, synth_.state());
    const QString fileName = QFileInfo(name).fileName();
    if (d.isEmpty()) {
        dialogs_.plain(
            QStringLiteral("The window holds the messages of %1 already.").arg(fileName));
        return;
    }
    const QString summary =
        QStringLiteral("%1 holds messages 1 to %2. Importing them changes %3 (OK imports, "
                       "Cancel changes nothing):")
            .arg(fileName)
            .arg(read.messages)
            .arg(d.size() == 1 ? QStringLiteral("one setting")
                               : QStringLiteral("%1 settings").arg(d.size()));
    if (!dialogs_.confirmReport(differencesReport(QStringLiteral("Import Canned Message"), summary,
                                                  d, fileName, shownName(name))))
        return;
    for (int k = 0; k < read.messages; ++k) {
        if (table_.messageRecord(k) != imported.messageRecord(k))
            table_.setMessageRecord(k, imported.messageRecord(k));
    }
    RefreshControls();
    recordEdit(QStringLiteral("Import Canned Message"));
    StatusPanel1->setText(QStringLiteral("Messages imported from %1").arg(shownName(name)));
}

} // namespace rw
