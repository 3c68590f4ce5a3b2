// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where lines over the network come from. Their code is the only part that needs Qt Network,
// whose libraries cost a program that talks to serial ports alone a good part of its start:
// the command line finds that code in a module, "lib/rw830kt/librw830kt-network.so" beside
// its own folder, loaded the first time a network port opens; the window links it in.

#include "linebackend.h"

namespace rw {

using NetworkLineMaker = LineBackend *(*)(const QString &portName);

// Called by the network lines' code as its program starts or as the module loads.
void offerNetworkLines(NetworkLineMaker maker);

// A line for a network port name. When the network lines' code is neither linked in nor
// loadable, a line whose opening fails and says why.
std::unique_ptr<LineBackend> makeNetworkLine(const QString &portName);

} // namespace rw
