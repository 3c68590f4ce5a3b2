// SPDX-License-Identifier: GPL-3.0-or-later
// The console's control events stop a run on Windows. Each is counted as the signal of the
// same meaning, so that the exit statuses are those of the other systems: Ctrl+C as SIGINT
// (130), Ctrl+Break as SIGBREAK (149), the console's close as SIGHUP (129), logoff and
// shutdown as SIGTERM (143).
#include "stopsignals.h"

#include "link/line/stoprequest.h"

#include <cstdlib>
#include <windows.h>

namespace rw::cli {

namespace {

constexpr int Hangup = 1;
constexpr int Interrupt = 2;
constexpr int Terminate = 15;
constexpr int Break = 21;

int signalOf(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
        return Interrupt;
    case CTRL_BREAK_EVENT:
        return Break;
    case CTRL_CLOSE_EVENT:
        return Hangup;
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        return Terminate;
    }
    return 0;
}

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI onConsoleControl(DWORD event)
{
    const int signal = signalOf(event);
    if (signal == 0)
        return FALSE;
    // A second one: the user does not want to wait for the clean end.
    if (!noteStopSignal(signal))
        std::_Exit(stoppedExitStatus(signal));
    rw::requestStop();
    // For these the system ends the process as soon as the handler returns: it waits here
    // while the run ends cleanly (the program's exit ends this thread too), within the few
    // seconds the system grants.
    if (signal == Hangup || signal == Terminate)
        ::Sleep(10000);
    return TRUE;
}

} // namespace

void installStopSignals()
{
    ::SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

QList<int> stopSignals()
{
    return {Interrupt, Break, Hangup, Terminate};
}

} // namespace rw::cli
