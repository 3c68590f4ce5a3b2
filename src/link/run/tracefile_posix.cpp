// SPDX-License-Identifier: GPL-3.0-or-later
#include "tracefile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace rw {

bool openTraceFile(QFile &file, const QString &path, QString &error)
{
    // Without O_NONBLOCK, opening a FIFO for writing waits until someone reads it.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = errno == ENXIO ? QStringLiteral("a FIFO that nobody reads")
                               : QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // Once open, writes wait as usual: a slow reader gets the whole trace.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0 ||
        !file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd);
        return false;
    }
    return true;
}

} // namespace rw
