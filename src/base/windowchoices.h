// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's own choices, kept in the settings file under keys of their own beside the
// synthesizer's: whether Write keeps a backup first, whether transfers record a line
// trace, and the table files used last. Each
// is written when it changes; every other line of the file stays as it is.

#include <QString>
#include <QStringList>

namespace rw {

inline const QString TransmitterSection = QStringLiteral("Transmitter");
inline const QString BackupBeforeWriteKey = QStringLiteral("BackupBeforeWrite"); // 1 for on
inline const QString LineTraceKey = QStringLiteral("LineTrace");                 // 1 for on
inline const QString RecentFilesSection = QStringLiteral("Recent Files");        // File1..File4
constexpr int RecentFileCount = 4;

// An on/off key of section Transmitter: off unless the file says 1.
bool readTransmitterChoice(const QString &settingsPath, const QString &key);
// False when the file could not be written (it then keeps its old content).
bool writeTransmitterChoice(const QString &settingsPath, const QString &key, bool on);

// Off unless the file says 1.
bool readBackupBeforeWrite(const QString &settingsPath);
// False when the file could not be written (it then keeps its old content).
bool writeBackupBeforeWrite(const QString &settingsPath, bool on);

// The table files, the one used last first; empty entries are left out.
QStringList readRecentFiles(const QString &settingsPath);
// All four keys, emptied where the list is shorter. A name too long for a value of the
// file (or holding a line break) is not kept. False when the file could not be written.
bool writeRecentFiles(const QString &settingsPath, const QStringList &files);

// The list with `file` first and each file once, at most four long.
QStringList withRecentFile(const QStringList &files, const QString &file);

} // namespace rw
