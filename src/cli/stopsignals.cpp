// SPDX-License-Identifier: GPL-3.0-or-later
#include "stopsignals.h"

#include <atomic>

namespace rw::cli {

namespace {

// Set inside the handler, read by the program's threads: lock-free, so safe in both.
std::atomic<int> received{0};
static_assert(std::atomic<int>::is_always_lock_free);

} // namespace

bool noteStopSignal(int signal)
{
    int none = 0;
    return received.compare_exchange_strong(none, signal);
}

int stopSignal()
{
    return received.load();
}

} // namespace rw::cli
