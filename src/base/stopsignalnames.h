// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The signals that ask a run to stop (SIGINT, SIGTERM and, where it exists, SIGHUP), as a
// person and a shell name them; the same from the window and the command line.

#include <QString>

namespace rw {

// The signal's name for a person ("SIGINT"), empty for 0.
QString stopSignalName(int signal);

// The exit status of a run that a signal stopped, as shells report it: 128 + its number
// (130 for SIGINT, 143 for SIGTERM, 129 for SIGHUP).
int stoppedExitStatus(int signal);

} // namespace rw
