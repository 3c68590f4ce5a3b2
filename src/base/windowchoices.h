// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's own choices, kept in the settings file under keys of their own beside the
// synthesizer's: whether Write keeps a backup first, whether transfers record a line
// trace, the ports of the last bench write and the table files used last. Each
// is written when it changes; every other line of the file stays as it is. A write that
// fails returns false and, when `why` is given, says why there for a person.

#include <QSize>
#include <QString>
#include <QStringList>

namespace rw {

inline const QString TransmitterSection = QStringLiteral("Transmitter");
inline const QString BackupBeforeWriteKey = QStringLiteral("BackupBeforeWrite"); // 1 for on
inline const QString BenchPortsKey = QStringLiteral("BenchPorts");               // port;port;...
inline const QString LineTraceKey = QStringLiteral("LineTrace");                 // 1 for on
inline const QString BenchSizeKey = QStringLiteral("BenchSize");          // WIDTHxHEIGHT, in pixels
inline const QString RecentFilesSection = QStringLiteral("Recent Files"); // File1..File4
constexpr int RecentFileCount = 4;

// An on/off key of section Transmitter: off unless the file says 1.
bool readTransmitterChoice(const QString &settingsPath, const QString &key);
// False when the file could not be written (it then keeps its old content).
bool writeTransmitterChoice(const QString &settingsPath, const QString &key, bool on,
                            QString *why = nullptr);

// Off unless the file says 1.
bool readBackupBeforeWrite(const QString &settingsPath);
// False when the file could not be written (it then keeps its old content).
bool writeBackupBeforeWrite(const QString &settingsPath, bool on, QString *why = nullptr);

// The ports last chosen for a bench write, in their order; empty names are left out.
QStringList readBenchPorts(const QString &settingsPath);
// As many of the ports as fit in a value of the file, whole; a name holding ";" or a line
// break cannot be told apart again and is left out. False when the file could not be
// written.
bool writeBenchPorts(const QString &settingsPath, const QStringList &ports, QString *why = nullptr);
// The bench ports to keep after a write to `checked` from the ports `listed`: those, then
// the ones chosen `before` that were not listed (an adapter unplugged today is checked
// again once it is back).
QStringList benchPortsToKeep(const QStringList &before, const QStringList &listed,
                             const QStringList &checked);

// The size the Write to Several dialog had when it was last closed; an invalid size when
// none is kept (or the value is not a size).
QSize readBenchSize(const QString &settingsPath);
bool writeBenchSize(const QString &settingsPath, QSize size, QString *why = nullptr);

// The table files, the one used last first; empty entries are left out.
QStringList readRecentFiles(const QString &settingsPath);
// All four keys, emptied where the list is shorter. A name too long for a value of the
// file (or holding a line break) is not kept. False when the file could not be written.
bool writeRecentFiles(const QString &settingsPath, const QStringList &files,
                      QString *why = nullptr);

// The list with `file` first and each file once, at most four long.
QStringList withRecentFile(const QStringList &files, const QString &file);

} // namespace rw
