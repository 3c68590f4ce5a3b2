// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A copy of what a Write is about to replace: the transmitter's settings are read as Read
// reads them, into a table of their own, and kept as a table file named after the port
// and the time, before anything is written. The window and rw830kt-cli both use it.

#include "link/ports/portfilename.h"
#include "link/protocol/transferoutcome.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace rw {

class SettingsTable;
class TCommPort;
class TransferView;
class WaitClock;

// "<folder>/<port>-YYYYMMDD-HHMMSS.tbl"; when that name is taken (two backups in one
// second), "-2", "-3", ... before ".tbl", so an earlier backup is never replaced.
QString backupFilePath(const QString &folder, const QString &port, const QDateTime &when);

struct BackupOutcome {
    bool ok = false;
    QString path;         // the backup file, when one was saved
    QString error;        // why there is none, for the user
    TransferOutcome read; // how the backup's Read came out
};

// Why no backup can be kept in `folder`, checked before any port is opened: it is not a
// folder, cannot be made (it is made when missing) or may not be written to. The text
// names the folder; nullopt when backups can go there.
std::optional<QString> backupFolderRefusal(const QString &folder);

// Reads the transmitter on the view's selected port into a table of its own (with Read's
// frames, progress, status texts and boxes) and saves its image in `folder`, which is
// made when missing, through the one safe write.
BackupOutcome backUpTransmitter(TCommPort &port, TransferView &view, const WaitClock &clock,
                                const QString &folder,
                                const QDateTime &when = QDateTime::currentDateTime());

// The backup, then Write of `table` only when the backup was saved; a failed backup is
// told through the view's box and nothing is written: the outcome is then the failed
// Read's (Stopped for a stopped one) or BackupFailed. `backupPath`, when given, receives
// the backup file once it is saved.
TransferOutcome writeWithBackup(TCommPort &port, TransferView &view, const WaitClock &clock,
                                const SettingsTable &table, const QString &folder,
                                QString *backupPath = nullptr);

} // namespace rw
