// SPDX-License-Identifier: GPL-3.0-or-later
#include "transmitterbackup.h"

#include "base/safefile.h"
#include "link/ports/portfilename.h"
#include "link/protocol/transferview.h"
#include "link/protocol/transmittercommands.h"
#include "model/settingstable.h"
#include "model/textrules.h"

#include <QDir>
#include <QFileInfo>

namespace rw {

namespace {

TransferOutcome readInto(TCommPort &port, TransferView &view, const WaitClock &clock,
                         SettingsTable &received)
{
    return TransmitterCommands(port, view, clock).Read(received);
}

} // namespace

QString backupFilePath(const QString &folder, const QString &port, const QDateTime &when)
{
    return datedPortFilePath(folder, port, when, QStringLiteral(".tbl"));
}

std::optional<QString> backupFolderRefusal(const QString &folder)
{
    const QString shown = escapedControls(QDir::toNativeSeparators(folder));
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return QStringLiteral("%1 is not a folder: no backup can be kept in it.").arg(shown);
    if (!info.exists() && !QDir().mkpath(folder))
        return QStringLiteral("The folder %1 for the backups cannot be made.").arg(shown);
    if (!QFileInfo(folder).isWritable())
        return QStringLiteral("The folder %1 for the backups may not be written to.").arg(shown);
    return std::nullopt;
}

BackupOutcome backUpTransmitter(TCommPort &port, TransferView &view, const WaitClock &clock,
                                const QString &folder, const QDateTime &when)
{
    SettingsTable received;
    const TransferOutcome read = readInto(port, view, clock, received);
    if (!read.ok())
        return {false,
                {},
                QStringLiteral("The transmitter's settings could not be read for the backup."),
                read};
    if (!QDir().mkpath(folder))
        return {false,
                {},
                QStringLiteral("The folder %1 for the backup cannot be made.")
                    .arg(escapedControls(QDir::toNativeSeparators(folder))),
                {}};
    const QString path = backupFilePath(folder, view.selectedPortName(), when);
    const WriteOutcome saved = writeFileSafely(path, received.buildImage());
    if (!saved.ok)
        return {
            false,
            {},
            QStringLiteral("The backup %1 cannot be saved: %2")
                .arg(escapedControls(QDir::toNativeSeparators(path)), escapedControls(saved.error)),
            {}};
    return {true, path, {}, {}};
}

TransferOutcome writeWithBackup(TCommPort &port, TransferView &view, const WaitClock &clock,
                                const SettingsTable &table, const QString &folder,
                                QString *backupPath)
{
    const BackupOutcome backup = backUpTransmitter(port, view, clock, folder);
    if (!backup.ok) {
        // A stopped run ends without a box, as a stopped Read does.
        if (backup.read.result == TransferResult::Stopped)
            return backup.read;
        view.warn(backup.error + QStringLiteral("\nNothing was written to the transmitter."));
        if (!backup.read.ok())
            return backup.read;
        return {TransferResult::BackupFailed, -1, backup.error};
    }
    if (backupPath)
        *backupPath = backup.path;
    return TransmitterCommands(port, view, clock).Write(table);
}

} // namespace rw
