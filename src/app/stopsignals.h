// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// When the system asks the program to stop (SIGTERM at shutdown or logout, SIGHUP when
// its terminal goes away, SIGINT from Ctrl+C in a shell), the main window closes as if
// its close box were clicked, so the settings file is written as at every close.

#include <functional>

class QWidget;

namespace rw {

// `close` closes the window and says whether it did (the window's own close() when not
// given). Nothing on systems without these signals.
void closeOnStopSignals(QWidget &window, std::function<bool()> close = {});

} // namespace rw
