// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way the program writes a file. The content goes to a temporary file beside the
// target; every write and the flush are checked, and only complete content takes the
// target's name. On any failure the temporary file goes and the target stays exactly as
// it was. (QSaveFile alone is not enough: its commit does not notice that a buffered
// write failed, and would put an empty or cut file in the target's place.)

#include <QByteArray>
#include <QSaveFile>
#include <QString>

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
    // Flushes the content into the temporary file and checks that all of it arrived; the
    // target is still untouched. False once anything has failed.
    bool stage();
    // Stages, then gives the temporary file the target's name.
    bool commit();
    QString errorString() const { return error_; }

private:
    bool fail();

    QSaveFile file_;
    bool failed_ = false;
    QString error_;
};

// `data` as the whole content of `path`, or nothing changed.
WriteOutcome writeFileSafely(const QString &path, const QByteArray &data);

// A copy of `source` as `target`, replacing a target that is there; the old target stays
// as it was when anything fails, reading the source included.
WriteOutcome copyFileSafely(const QString &source, const QString &target);

// The file that writing to `path` replaces: a symbolic link leads to the file it names
// (through any chain of links), so the link itself stays a link. Other paths are
// returned as they are.
QString resolvedTarget(const QString &path);

} // namespace rw
