// SPDX-License-Identifier: GPL-3.0-or-later
#include "messageexport.h"

#include "base/safefile.h"
#include "messagerecord.h"
#include "model/settingstable.h"

#include <QDir>
#include <QFileInfo>

namespace rw {

QString exportFileName(const QDate &day)
{
    return QStringLiteral("CannedMessage_%1.txt").arg(day.toString(QStringLiteral("yyyyMMdd")));
}

QByteArray exportContent(const SettingsTable &table)
{
    QByteArray out;
    for (int k = 0; k < MessageCount; ++k) {
        out += QByteArray::number(k + 1);
        out += '\t';
        out += storedMessageText(table.messageRecord(k));
        out += "\r\n";
    }
    return out;
}

ExportResult exportMessages(const SettingsTable &table, const QString &directory, const QDate &day)
{
    const QDir dir(directory);
    ExportResult result;
    result.path = dir.filePath(exportFileName(day));

    // The earlier export of the day is replaced only once it is safely kept as the
    // backup: a failed copy ends the export with both older files as they were.
    if (QFileInfo(result.path).isFile()) {
        const QString backup = dir.filePath(ExportBackupName);
        const WriteOutcome kept = copyFileSafely(result.path, backup);
        if (!kept.ok) {
            result.failedFile = backup;
            result.error = kept.error;
            return result;
        }
    }

    const WriteOutcome written = writeFileSafely(result.path, exportContent(table));
    if (!written.ok) {
        result.failedFile = result.path;
        result.error = written.error;
        return result;
    }
    result.ok = true;
    return result;
}

QString exportFailureMessage(const ExportResult &result)
{
    const QString file = QDir::toNativeSeparators(result.failedFile);
    if (result.failedFile == result.path)
        return QStringLiteral("Export Failed: can't write %1\n%2").arg(file, result.error);
    return QStringLiteral("Export Failed: can't keep the earlier export as %1\n%2")
        .arg(file, result.error);
}

} // namespace rw
