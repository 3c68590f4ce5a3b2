// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a network line asks of the system's TCP beyond Qt's options, one implementation
// file per platform.

#include <cstdint>

namespace rw {

// Asks the system to acknowledge whatever arrives on the connected TCP socket at once,
// instead of after its delayed-acknowledgement timer. A serial server that sends a reply's
// first byte and holds the rest until that byte is acknowledged (Nagle's rule on its side)
// would otherwise stall every reply for tens of milliseconds. Some systems drop back to
// delayed acknowledgements by themselves: call it again after every read. Does nothing
// where the system has no such setting.
void acknowledgeAtOnce(std::intptr_t socket);

} // namespace rw
