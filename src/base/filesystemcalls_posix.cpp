// SPDX-License-Identifier: GPL-3.0-or-later
// The safe write's file-system calls on Linux: fsync of files and folders, hard links, and
// stat and lstat for what a name holds.
#include "filesystemcalls.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rw {

int systemSync(int descriptor)
{
    return ::fsync(descriptor);
}

bool syncNotSupported(int errorNumber)
{
    return errorNumber == EINVAL || errorNumber == EROFS;
}

void syncFolderOf(const QString &file)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(file).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return; // a file system that cannot sync a folder has nothing more to do
    syncDescriptor(fd);
    ::close(fd);
}

SecondName makeSecondName(const QString &file, const QString &name, QString &error)
{
    if (::link(QFile::encodeName(file).constData(), QFile::encodeName(name).constData()) == 0)
        return SecondName::Made;
    if (errno != EEXIST)
        return SecondName::NotPossible;
    error = QString::fromLocal8Bit(std::strerror(errno));
    return SecondName::Refused;
}

PathKind pathKind(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0)
        return {errno == ELOOP ? PathKind::LinkLoop : PathKind::NotThere, false};
    PathKind at;
    if (S_ISREG(st.st_mode))
        at.kind = PathKind::File;
    else if (S_ISDIR(st.st_mode))
        at.kind = PathKind::Folder;
    else if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        at.kind = PathKind::Device;
    else if (S_ISFIFO(st.st_mode))
        at.kind = PathKind::Fifo;
    else if (S_ISSOCK(st.st_mode))
        at.kind = PathKind::Socket;
    else
        at.kind = PathKind::Other;
    struct stat link {};
    at.viaLink = ::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode);
    return at;
}

} // namespace rw
