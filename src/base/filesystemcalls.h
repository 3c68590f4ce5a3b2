// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the one safe write needs from the file system, one implementation file per system:
// syncing content and names to the disk, a second name for a file, and what a name holds.

#include <QString>

namespace rw {

// The system's sync of an open file by its descriptor: fsync on Linux, _commit (the
// descriptor's FlushFileBuffers) on Windows; 0 on success, else -1 with errno set.
int systemSync(int descriptor);
// The sync the safe write uses: systemSync, or the watcher a test put in its place
// (replaceSyncCall).
int syncDescriptor(int descriptor);
// True when a sync failed only because the file system has nothing to sync (a file system
// that does not sync, a read-only one): the content is as safe as the system makes it.
bool syncNotSupported(int errorNumber);

// Makes the names in the folder of `file` (a rename, a new link) last through a power cut,
// where the system has a way to; nothing when it cannot.
void syncFolderOf(const QString &file);

enum class SecondName {
    Made,        // `name` is a second name of the file now
    Refused,     // the system refused for a reason the user must hear (`error`)
    NotPossible, // the file system has no second names: a copy will do
};
SecondName makeSecondName(const QString &file, const QString &name, QString &error);

// What stands at a name, for the refusal to replace anything but a file.
struct PathKind {
    enum Kind { NotThere, File, Folder, Device, Fifo, Socket, LinkLoop, ReparsePoint, Other };
    Kind kind = NotThere; // NotThere also for a name the system cannot look at
    bool viaLink = false; // reached through a symbolic link
};
PathKind pathKind(const QString &path);

} // namespace rw
