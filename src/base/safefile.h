// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way the program writes a file. The content goes to a temporary file beside the
// target; every write and the flush are checked, the content is synced to the disk, and
// only complete content takes the target's name, in one atomic rename, after which the
// folder is synced too. On any failure the temporary file goes and the target stays
// exactly as it was. (QSaveFile alone is not enough: its commit does not notice that a
// buffered write failed, and would put an empty or cut file in the target's place.)
//
// Only a regular file (or a name that is not taken) is ever replaced: a folder, a device,
// a FIFO or a socket, or a symbolic link to one, is refused before anything is written.

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <optional>

namespace rw {

struct WriteOutcome {
    bool ok = false;
    QString error; // why the file could not be written
};

class SafeFileWriter {
public:
    explicit SafeFileWriter(const QString &target);
    SafeFileWriter(const SafeFileWriter &) = delete;
    SafeFileWriter &operator=(const SafeFileWriter &) = delete;

    // Adds bytes to the content; false once anything has failed.
    bool write(const QByteArray &bytes);
    // Flushes the content into the temporary file, syncs it to the disk and checks that
    // all of it arrived; the target is still untouched. False once anything has failed.
    bool stage();
    // Stages, then gives the temporary file the target's name and syncs the folder.
    bool commit();
    QString errorString() const { return error_; }

private:
    bool fail();
    bool fail(const QString &reason);

    QString target_;
    QSaveFile file_;
    bool failed_ = false;
    bool synced_ = false;
    QString error_;
};

// `data` as the whole content of `path`, or nothing changed.
WriteOutcome writeFileSafely(const QString &path, const QByteArray &data);

// A copy of `source` as `target`, replacing a target that is there; the old target stays
// as it was when anything fails, reading the source included.
WriteOutcome copyFileSafely(const QString &source, const QString &target);

// Makes `keep` hold the content of the regular file `source` without touching `source`:
// a second name for the same file where the file system has them (so nothing is copied
// and nothing can be half made), else a copy through the safe write. A `keep` that is
// already there is left as it is, and the result says so.
WriteOutcome keepFileAs(const QString &source, const QString &keep);

// The file that writing to `path` replaces: a symbolic link leads to the file it names
// (through any chain of links), so the link itself stays a link. Other paths are
// returned as they are.
QString resolvedTarget(const QString &path);

// Why writing to `path` must not replace what is there: empty for a regular file and for
// a name that is not taken (a symbolic link counts as what it leads to). The text names
// what is there, for the user.
std::optional<QString> replaceRefusal(const QString &path);

// The points a replacing write passes, in this order. At each of them the target's name
// holds a complete file: the old content up to Replaced, the new one from then on.
enum class WriteStep {
    ContentSynced, // the new content is on the disk under a temporary name
    BackupKept,    // the old file is kept under its backup name (table files only)
    Replaced,      // the new content has the target's name
    FolderSynced,  // the rename is on the disk
};
using WriteStepObserver = void (*)(WriteStep);
// Lets a test program see (and stop the process at) each step; null stops watching.
void observeWriteSteps(WriteStepObserver observer);
// Tells the observer, if any, that a write has reached `step`.
void reportWriteStep(WriteStep step);

// The system's sync of an open file or folder (fsync), through which a write makes its
// content and its new name last. A test program puts a watcher in its place (which does the
// sync itself) to see each one; null gives the system's own back.
using SyncCall = int (*)(int descriptor);
void replaceSyncCall(SyncCall call);

} // namespace rw
