// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The export of the thirty canned messages to a dated text file in the program
// directory: one line per message, "number<TAB>text<CR><LF>", the text byte for byte as
// stored. The same day's earlier export is kept as CannedMessage.bak.

#include <QByteArray>
#include <QDate>
#include <QString>

namespace rw {

class SettingsTable;

inline const QString ExportBackupName = QStringLiteral("CannedMessage.bak");

// "CannedMessage_YYYYMMDD.txt" for the given local day.
QString exportFileName(const QDate &day);

// The thirty lines of the export.
QByteArray exportContent(const SettingsTable &table);

struct ExportResult {
    bool ok = false;
    QString path;       // the dated file, full name
    QString failedFile; // the file that could not be written: the dated file or the backup
    QString error;      // why it failed
};

// Keeps an export of the same day as the backup, then writes the dated file whole or not
// at all. When there is no export of today yet no copy is made and the backup stays. When
// the copy fails the dated file is not touched: the export fails.
ExportResult exportMessages(const SettingsTable &table, const QString &directory, const QDate &day);

// What the window shows for a failed export: which file and why.
QString exportFailureMessage(const ExportResult &result);

} // namespace rw
