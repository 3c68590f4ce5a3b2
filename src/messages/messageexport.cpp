#include "messageexport.h"

#include "messagerecord.h"
#include "model/safefile.h"
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

    if (QFileInfo(result.path).isFile())
        copyReplacing(result.path, dir.filePath(ExportBackupName));

    QSaveFile file(result.path);
    if (!stageContent(file, exportContent(table)) || !file.commit()) {
        result.error = file.errorString();
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace rw
