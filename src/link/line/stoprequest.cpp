// SPDX-License-Identifier: GPL-3.0-or-later
#include "stoprequest.h"

#include <atomic>

namespace rw {

namespace {
// Lock-free, so a signal handler may set it.
std::atomic<bool> stop{false};
static_assert(std::atomic<bool>::is_always_lock_free);
} // namespace

void requestStop()
{
    stop.store(true, std::memory_order_relaxed);
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
}

} // namespace rw
