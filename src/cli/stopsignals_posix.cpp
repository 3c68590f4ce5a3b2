// SPDX-License-Identifier: GPL-3.0-or-later
// The stop signals of a POSIX system: SIGINT (Ctrl+C), SIGTERM and SIGHUP.
#include "stopsignals.h"

#include "link/line/stoprequest.h"

#include <csignal>
#include <unistd.h>

namespace rw::cli {

namespace {

extern "C" void onStopSignal(int signal)
{
    // A second one: the user does not want to wait for the clean end.
    if (!noteStopSignal(signal))
        _exit(stoppedExitStatus(signal));
    rw::requestStop();
}

} // namespace

void installStopSignals()
{
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // Restarted system calls: a signal during a file write must not fail the write.
    action.sa_flags = SA_RESTART;
    for (int s : stopSignals())
        sigaction(s, &action, nullptr);
}

QList<int> stopSignals()
{
    return {SIGINT, SIGTERM, SIGHUP};
}

} // namespace rw::cli
