// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system asking the program to stop (SIGTERM at shutdown or logout, SIGHUP when its
// terminal goes away, SIGINT from Ctrl+C in a shell), turned into a call on the window's
// event loop. What the window does then (every box closed, a transfer stopped, the window
// closed, the exit status) is its own, the same on every system.

#include <functional>

class QObject;

namespace rw {

// Calls `stop` with the signal's number on the event loop of `context`'s thread each time
// one of those signals arrives, also while a modal box runs its own loop. Nothing on
// systems without these signals.
void onStopSignals(QObject &context, std::function<void(int signal)> stop);

} // namespace rw
