// SPDX-License-Identifier: GPL-3.0-or-later
#include "tablefile.h"

#include "base/safefile.h"
#include "fieldlayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace rw {

std::optional<QByteArray> readTableFile(const QString &path, QString *error, qint64 *fileSize)
{
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    // Only regular files: opening a pipe would wait for a writer, a device never ends.
    const QFileInfo info(path);
    if (!info.exists())
        return fail(QStringLiteral("There is no such file."));
    if (info.isDir())
        return fail(QStringLiteral("It is a folder, not a table file."));
    if (!info.isFile())
        return fail(QStringLiteral("It is a device or a pipe, not a table file."));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return fail(f.errorString());
    QByteArray area(TableWorkAreaSize, '\0');
    if (fileSize)
        *fileSize = f.size();
    const qint64 wanted = std::min<qint64>(f.size(), TableWorkAreaSize);
    qint64 got = 0;
    while (got < wanted) {
        const qint64 n = f.read(area.data() + got, wanted - got);
        if (n < 0)
            return fail(f.errorString());
        if (n == 0)
            break; // the file shrank while being read: the rest stays zero
        got += n;
    }
    return area;
}

std::optional<QString> tableLengthRefusal(qint64 size)
{
    if (size == ImageSize)
        return std::nullopt;
    return QStringLiteral("The file is %1 byte%2 long, not %3: it is not a whole table.")
        .arg(size)
        .arg(size == 1 ? QString() : QStringLiteral("s"))
        .arg(ImageSize);
}

QString defaultTableFile(const QString &programDirectory)
{
    return QDir(programDirectory).filePath(DefaultTableFileName);
}

QString tableBackupName(const QString &path)
{
    const QFileInfo info(path);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".BAK"));
}

TableSaveResult saveTableFile(const QString &path, const QByteArray &image)
{
    // Only a table file is replaced: a device, a FIFO, a folder (or a link to one) is
    // left as it is, whoever runs the program.
    if (const auto refusal = tableSaveRefusal(path))
        return {false, *refusal};
    // Saving through a symbolic link replaces the file it names and keeps that file's
    // backup beside it; the link stays as it is.
    const QString target = resolvedTarget(path);
    SafeFileWriter file(target);
    if (!file.write(image) || !file.stage())
        return {false, file.errorString()};

    // The old file keeps its name until the one rename below: the backup is made beside
    // it, never by moving it away, so an interrupted save leaves the old file or the new
    // one under the name, never neither. A backup name already taken keeps the older
    // backup, and the save goes on.
    if (QFileInfo(target).isFile())
        keepFileAs(target, tableBackupName(target));
    reportWriteStep(WriteStep::BackupKept);
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

std::optional<QString> tableSaveRefusal(const QString &path)
{
    return replaceRefusal(path);
}

bool sameFile(const QString &a, const QString &b)
{
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath().compare(fb.canonicalFilePath(), cs) == 0;
    return QDir::cleanPath(fa.absoluteFilePath())
               .compare(QDir::cleanPath(fb.absoluteFilePath()), cs) == 0;
}

} // namespace rw
