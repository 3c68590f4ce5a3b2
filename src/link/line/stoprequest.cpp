// SPDX-License-Identifier: GPL-3.0-or-later
#include "stoprequest.h"

#include <QtGlobal>
#include <atomic>
#include <cstdint>

#ifdef Q_OS_LINUX
#include <sys/eventfd.h>
#include <unistd.h>
#endif

namespace rw {

namespace {
// Lock-free, so a signal handler may set it.
std::atomic<bool> stop{false};
static_assert(std::atomic<bool>::is_always_lock_free);
// The descriptor that rings with a stop, once made; -1 before.
std::atomic<int> ring{-1};
static_assert(std::atomic<int>::is_always_lock_free);

void ringDescriptor()
{
#ifdef Q_OS_LINUX
    const int fd = ring.load();
    const uint64_t one = 1;
    if (fd >= 0 && ::write(fd, &one, sizeof one) < 0) {
        // Full (it already rings) or gone: nothing more to do either way.
    }
#endif
}

} // namespace

void requestStop()
{
    stop.store(true, std::memory_order_relaxed);
    ringDescriptor();
}

void requestStopNow()
{
    requestStop();
    emit StopBell::instance().rung();
}

StopBell &StopBell::instance()
{
    static StopBell bell;
    return bell;
}

bool stopRequested()
{
    return stop.load(std::memory_order_relaxed);
}

void clearStopRequest()
{
    stop.store(false, std::memory_order_relaxed);
    // After the flag: a stop asked for in between leaves the flag set, which the waits see.
#ifdef Q_OS_LINUX
    const int fd = ring.load();
    uint64_t rings = 0;
    if (fd >= 0 && ::read(fd, &rings, sizeof rings) < 0) {
        // Nothing was ringing.
    }
#endif
}

int stopDescriptor()
{
    static const int fd = [] {
#ifdef Q_OS_LINUX
        const int made = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        ring.store(made);
        if (stop.load(std::memory_order_relaxed))
            ringDescriptor(); // asked for before there was anything to ring
        return made;
#else
        return -1;
#endif
    }();
    return fd;
}

} // namespace rw
