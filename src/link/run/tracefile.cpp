// SPDX-License-Identifier: GPL-3.0-or-later
#include "tracefile.h"

#include "link/ports/portfilename.h"

#ifndef Q_OS_WIN
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace rw {

bool openTraceFile(QFile &file, const QString &path, QString &error)
{
#ifdef Q_OS_WIN
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        error = file.errorString();
        return false;
    }
    return true;
#else
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
#endif
}

QString traceFilePath(const QString &folder, const QString &port, const QDateTime &when)
{
    return datedPortFilePath(folder, port, when, QStringLiteral(".txt"));
}

bool TraceFile::open(const QString &path, QString &error)
{
    if (!openTraceFile(file_, path, error))
        return false;
    path_ = path;
    trace_ = std::make_unique<LineTrace>(file_);
    return true;
}

bool TraceFile::close(QString &error)
{
    if (!trace_)
        return true;
    const bool ok = trace_->ok();
    trace_.reset();
    if (!ok || !file_.flush()) {
        error = file_.errorString();
        file_.close();
        return false;
    }
    file_.close();
    return true;
}

QString stoppedRunNote(TransferCommand command, const TransferOutcome &outcome,
                       const QString &signalName)
{
    const QString how = outcome.result == TransferResult::Stopped ? outcomeSummary(command, outcome)
                                                                  : QStringLiteral("stopped");
    return QStringLiteral("run %1 by %2").arg(how, signalName);
}

} // namespace rw
