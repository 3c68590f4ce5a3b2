// SPDX-License-Identifier: GPL-3.0-or-later
#include "safefile.h"

#include <QFile>
#include <QFileInfo>

namespace rw {

SafeFileWriter::SafeFileWriter(const QString &target) : file_(target)
{
    if (!file_.open(QIODevice::WriteOnly))
        fail();
}

bool SafeFileWriter::fail()
{
    if (!failed_) {
        failed_ = true;
        error_ = file_.errorString();
    }
    // The temporary file is removed when file_ goes; cancelling here would replace the
    // reason in errorString().
    return false;
}

bool SafeFileWriter::write(const QByteArray &bytes)
{
    if (failed_)
        return false;
    return file_.write(bytes) == bytes.size() || fail();
}

bool SafeFileWriter::stage()
{
    if (failed_)
        return false;
    return file_.flush() || fail();
}

bool SafeFileWriter::commit()
{
    if (!stage())
        return false;
    return file_.commit() || fail();
}

WriteOutcome writeFileSafely(const QString &path, const QByteArray &data)
{
    SafeFileWriter file(path);
    const bool ok = file.write(data) && file.commit();
    return {ok, ok ? QString() : file.errorString()};
}

WriteOutcome copyFileSafely(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return {false, in.errorString()};
    SafeFileWriter out(target);
    // In pieces: the source may be any size.
    constexpr qint64 Chunk = 64 * 1024;
    while (!in.atEnd()) {
        const QByteArray piece = in.read(Chunk);
        if (piece.isEmpty() && in.error() != QFileDevice::NoError)
            return {false, in.errorString()};
        if (!out.write(piece))
            return {false, out.errorString()};
    }
    if (!out.commit())
        return {false, out.errorString()};
    return {true, {}};
}

QString resolvedTarget(const QString &path)
{
    QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    // A link to a file that is not there yet: follow the links one by one, as far as
    // they go (a loop of links ends after as many steps as the system would take).
    for (int step = 0; step < 40 && info.isSymLink(); ++step)
        info.setFile(info.symLinkTarget());
    return info.absoluteFilePath();
}

} // namespace rw
