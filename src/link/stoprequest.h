// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A request to stop the transfers under way, made from a signal handler (Ctrl+C, the
// system shutting down). Transfers look at it while they wait for the line and end with
// the outcome Stopped; setting it is safe inside a signal handler.

namespace rw {

void requestStop();
bool stopRequested();
// For a process that runs several transfers one after another (and for tests).
void clearStopRequest();

} // namespace rw
