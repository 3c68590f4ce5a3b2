// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A thread that waits for the line asks the system to run it as soon as it wakes: it sleeps
// while a reply crosses the line and needs little time when the reply is there, and the
// transmitter waits for its next request meanwhile, however busy the computer is.

namespace rw {

// For the calling thread, from now on; nothing where the system offers no such request.
void preferPromptWakeUps();

} // namespace rw
