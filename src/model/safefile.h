#pragma once
// Writing a file so that it is either complete or not there at all: the content goes to a
// temporary file beside the target and takes the target's name only once it is written.

#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace rw {

// Opens `file` and writes all of `data` to its temporary file, flushed. False on any
// failure; the target is untouched then and file.errorString() says why.
bool stageContent(QSaveFile &file, const QByteArray &data);

// Copies `source` to `target`, replacing a target that is there; the old target stays as
// it was when anything fails.
bool copyReplacing(const QString &source, const QString &target);

} // namespace rw
