// SPDX-License-Identifier: GPL-3.0-or-later
#include "stoprequest.h"

#include "stopwaker.h"

#include <atomic>

namespace rw {

namespace {
// Lock-free, so a signal handler may set it.
std::atomic<bool> stop{false};
static_assert(std::atomic<bool>::is_always_lock_free);
// The system object that rings with a stop, once made; NoStopWaker before.
std::atomic<qintptr> waker{NoStopWaker};
static_assert(std::atomic<qintptr>::is_always_lock_free);

} // namespace

void requestStop()
{
    stop.store(true, std::memory_order_relaxed);
    if (const qintptr w = waker.load(); w != NoStopWaker)
        ringStopWaker(w);
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
    if (const qintptr w = waker.load(); w != NoStopWaker)
        quietStopWaker(w);
}

qintptr stopWaitHandle()
{
    static const qintptr handle = [] {
        const qintptr made = makeStopWaker();
        waker.store(made);
        if (made != NoStopWaker && stop.load(std::memory_order_relaxed))
            ringStopWaker(made); // asked for before there was anything to ring
        return made;
    }();
    return handle;
}

} // namespace rw
