// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Ctrl+C and the system stopping rw830kt-cli: SIGINT, SIGTERM and SIGHUP (on Windows the
// console's control events: Ctrl+C, Ctrl+Break, its close, logoff and shutdown) ask the
// transfers under way to stop (rw::requestStop()), so that they end cleanly: the trace
// written up to the stop, the ports closed, no table file half made. A second one ends
// the program at once. The system's part is in one file per system.

#include "base/stopsignalnames.h"

#include <QList>
#include <QString>

namespace rw::cli {

// Installs the handlers; from then on the signals above stop the run instead of the
// program.
void installStopSignals();

// The signals that stop a run, in the order the help text names them.
QList<int> stopSignals();

// The signal that asked the run to stop; 0 while none came.
int stopSignal();

// Notes the signal that came; false when one had come before. Safe inside a handler.
bool noteStopSignal(int signal);

// Their names and exit statuses: stopSignalName() and stoppedExitStatus() (shared with
// the window).

} // namespace rw::cli
