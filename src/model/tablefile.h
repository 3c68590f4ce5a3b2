// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Table files: the 2048-byte settings image on disk, without header or checksum.

#include <QByteArray>
#include <QString>
#include <optional>

namespace rw {

// A table file is read into a zero-filled work area of this size; a longer file's
// excess is never read.
constexpr int TableWorkAreaSize = 4096;

inline const QString DefaultTableFileName = QStringLiteral("default.tbl");
inline const QString TableFileFilter = QStringLiteral("Table files (*.tbl)");
inline const QString TableFileSuffix = QStringLiteral("tbl");

// The table file that Save writes when no table file is current.
QString defaultTableFile(const QString &programDirectory);

// The work area filled from the start of the file, zero after the bytes the file has;
// nullopt when the file cannot be opened or read (a folder or a device is not a table
// file), with the reason in `error` when given.
// `fileSize`, when given, receives the file's length.
std::optional<QByteArray> readTableFile(const QString &path, QString *error = nullptr,
                                        qint64 *fileSize = nullptr);

// Why a file of `size` bytes is not a whole table to send to a transmitter as it stands
// (opening it as the window does pads or cuts it); nullopt for exactly 2048 bytes. A
// transmitter written from an empty or cut file would be blank without a word.
std::optional<QString> tableLengthRefusal(qint64 size);

// Where a replaced table file is kept: beside it, its name without the extension
// followed by ".BAK" (site1.tbl -> site1.BAK).
QString tableBackupName(const QString &path);

struct TableSaveResult {
    bool ok = false;
    QString error; // why the file could not be written
};

// Writes the image whole or not at all. The new content is written and synced beside
// the target first; an existing target then also gets its backup name (a backup name
// already taken keeps the older backup and the target is replaced all the same); then the
// new content takes the target's name in one rename. At every moment the name holds the
// old or the new complete file, and on failure the file that was there stays unchanged.
// A symbolic link is followed: the file it names is the one backed up and replaced. Only
// a regular file or a new name is written: anything else is refused with the reason.
TableSaveResult saveTableFile(const QString &path, const QByteArray &image);

// Why no table can be saved to `path` (it names a device, a FIFO, a socket or a folder, or
// a link to one): the text for the user; empty when a save may go ahead.
std::optional<QString> tableSaveRefusal(const QString &path);

// True when both names lead to the same file (or would, once created).
bool sameFile(const QString &a, const QString &b);

} // namespace rw
