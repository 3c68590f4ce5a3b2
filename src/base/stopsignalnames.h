// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The signals that ask a run to stop (SIGINT, SIGTERM and SIGHUP; on Windows the console's
// control events, each counted as the signal of its meaning), as a person and a shell name
// them; the same from the window and the command line. The names are the system's (one
// file per system).

#include <QString>

namespace rw {

// The signal's name for a person ("SIGINT"; on Windows "Ctrl+C"), empty for 0.
QString stopSignalName(int signal);
// The same as the help names it, with the key that sends it ("SIGINT (Ctrl+C)").
QString stopSignalHelpName(int signal);

// The exit status of a run that a signal stopped, as shells report it: 128 + its number
// (130 for SIGINT, 143 for SIGTERM, 129 for SIGHUP).
int stoppedExitStatus(int signal);

} // namespace rw
