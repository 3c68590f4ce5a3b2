// SPDX-License-Identifier: GPL-3.0-or-later
// The terminal reached directly on Linux: its byte-count threshold (VMIN), its queues,
// and a poll on it beside the stop's eventfd.
#include "wakethreshold.h"

#include "stoprequest.h"

#include <algorithm>
#include <asm/termbits.h> // the kernel's own termios, which TCGETS and TCSETS take
#include <cerrno>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace rw {

namespace {

int descriptor(QSerialPort &serial)
{
    return static_cast<int>(serial.handle());
}

// A read or write of the system's queue: the count moved, 0 when it would have to wait,
// -1 on failure.
qint64 moved(ssize_t n)
{
    if (n >= 0)
        return n;
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
}

static_assert(sizeof(termios) <= 64, "the kept settings must hold the kernel's termios");

} // namespace

void WakeThreshold::set(QSerialPort &serial, int count)
{
    count = std::clamp(count, 1, 255);
    if (count == count_)
        return;
    // Without a read timer (VTIME 0), VMIN is the count that makes a poll report the
    // terminal readable; reads on the non-blocking descriptor still return at once.
    auto *t = reinterpret_cast<termios *>(settings_);
    const int fd = descriptor(serial);
    if (fd < 0 || (count_ == 0 && ::ioctl(fd, TCGETS, t) != 0))
        return;
    t->c_cc[VMIN] = static_cast<cc_t>(count);
    t->c_cc[VTIME] = 0;
    if (::ioctl(fd, TCSETS, t) == 0)
        count_ = count;
    else
        count_ = 0;
}

qint64 systemBytesWaiting(QSerialPort &serial)
{
    const int fd = descriptor(serial);
    int waiting = 0;
    if (fd < 0 || ::ioctl(fd, FIONREAD, &waiting) != 0)
        return -1;
    return waiting;
}

qint64 readSystemQueue(QSerialPort &serial, char *buffer, qint64 max)
{
    const int fd = descriptor(serial);
    if (fd < 0)
        return -1;
    return max <= 0 ? 0 : moved(::read(fd, buffer, static_cast<size_t>(max)));
}

qint64 writeSystemQueue(QSerialPort &serial, const char *buffer, qint64 count)
{
    const int fd = descriptor(serial);
    if (fd < 0)
        return -1;
    return moved(::write(fd, buffer, static_cast<size_t>(count)));
}

LineWait waitForLine(QSerialPort &serial, bool forBytes, int wallMs)
{
    const int fd = descriptor(serial);
    if (fd < 0)
        return LineWait::Unsupported;
    pollfd watched[2] = {{static_cast<int>(stopWaitHandle()), POLLIN, 0}, {fd, POLLIN, 0}};
    const nfds_t count = forBytes ? 2 : 1;
    if (::poll(watched, count, std::max(wallMs, 0)) <= 0)
        return LineWait::Elapsed; // the time is up, or a signal came: the caller looks again
    if ((watched[0].revents & POLLIN) && !stopRequested())
        clearStopRequest(); // a ring left over from a stop already cleared
    if (watched[1].revents & (POLLERR | POLLHUP | POLLNVAL))
        return LineWait::Failed;
    return watched[1].revents & POLLIN ? LineWait::Readable : LineWait::Elapsed;
}

} // namespace rw
