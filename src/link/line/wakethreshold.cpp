// SPDX-License-Identifier: GPL-3.0-or-later
#include "wakethreshold.h"

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace rw {

void setWakeThreshold(QSerialPort &serial, int count)
{
#ifdef Q_OS_UNIX
    // Without a read timer (VTIME 0), VMIN is the count that makes a poll report the
    // terminal readable; reads on the non-blocking descriptor still return at once.
    termios t{};
    const int fd = static_cast<int>(serial.handle());
    if (fd < 0 || ::tcgetattr(fd, &t) != 0)
        return;
    const cc_t wanted = static_cast<cc_t>(std::clamp(count, 1, 255));
    if (t.c_cc[VMIN] == wanted && t.c_cc[VTIME] == 0)
        return;
    t.c_cc[VMIN] = wanted;
    t.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &t);
#else
    (void)serial;
    (void)count;
#endif
}

qint64 systemBytesWaiting(QSerialPort &serial)
{
#if defined(Q_OS_UNIX) && defined(FIONREAD)
    const int fd = static_cast<int>(serial.handle());
    int waiting = 0;
    if (fd < 0 || ::ioctl(fd, FIONREAD, &waiting) != 0)
        return -1;
    return waiting;
#else
    (void)serial;
    return -1;
#endif
}

qint64 readSystemQueue(QSerialPort &serial, char *buffer, qint64 max)
{
#ifdef Q_OS_UNIX
    const int fd = static_cast<int>(serial.handle());
    if (fd < 0)
        return -1;
    if (max <= 0)
        return 0;
    const ssize_t n = ::read(fd, buffer, static_cast<size_t>(max));
    if (n < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
    return n;
#else
    (void)serial;
    (void)buffer;
    (void)max;
    return -1;
#endif
}

qint64 writeSystemQueue(QSerialPort &serial, const char *buffer, qint64 count)
{
#ifdef Q_OS_UNIX
    const int fd = static_cast<int>(serial.handle());
    if (fd < 0)
        return -1;
    const ssize_t n = ::write(fd, buffer, static_cast<size_t>(count));
    if (n < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
    return n;
#else
    (void)serial;
    (void)buffer;
    (void)count;
    return -1;
#endif
}

} // namespace rw
