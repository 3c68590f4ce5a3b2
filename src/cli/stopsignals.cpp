// SPDX-License-Identifier: GPL-3.0-or-later
#include "stopsignals.h"

#include "link/line/stoprequest.h"

#include <atomic>
#include <csignal>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace rw::cli {

namespace {

// Set inside the handler, read by the program's threads: lock-free, so safe in both.
std::atomic<int> received{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void onStopSignal(int signal)
{
    int none = 0;
    if (!received.compare_exchange_strong(none, signal)) {
        // A second one: the user does not want to wait for the clean end.
#ifdef Q_OS_UNIX
        _exit(stoppedExitStatus(signal));
#else
        std::_Exit(stoppedExitStatus(signal));
#endif
    }
    rw::requestStop();
}

} // namespace

void installStopSignals()
{
#ifdef Q_OS_UNIX
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // Restarted system calls: a signal during a file write must not fail the write.
    action.sa_flags = SA_RESTART;
    for (int s : stopSignals())
        sigaction(s, &action, nullptr);
#else
    for (int s : stopSignals())
        std::signal(s, onStopSignal);
#endif
}

QList<int> stopSignals()
{
#ifdef SIGHUP
    return {SIGINT, SIGTERM, SIGHUP};
#else
    return {SIGINT, SIGTERM};
#endif
}

int stopSignal()
{
    return received.load();
}

} // namespace rw::cli
