#include "safefile.h"

#include <QFile>

namespace rw {

bool stageContent(QSaveFile &file, const QByteArray &data)
{
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // On failure the temporary file goes when `file` is destroyed; cancelling here would
    // replace the reason in errorString().
    return file.write(data) == data.size() && file.flush();
}

bool copyReplacing(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    // In pieces: the source may be any size.
    constexpr qint64 Chunk = 64 * 1024;
    while (!in.atEnd()) {
        const QByteArray piece = in.read(Chunk);
        if ((piece.isEmpty() && in.error() != QFileDevice::NoError) ||
            out.write(piece) != piece.size()) {
            out.cancelWriting();
            return false;
        }
    }
    return out.commit();
}

} // namespace rw
