// SPDX-License-Identifier: GPL-3.0-or-later
// Offers the network lines to the core: as a program that links them in starts, or as the
// command line loads them as a module.

#include "networkline.h"
#include "networklines.h"

namespace {

rw::LineBackend *newNetworkLine(const QString &portName)
{
    return new rw::NetworkLine(portName);
}

[[maybe_unused]] const bool offered = (rw::offerNetworkLines(newNetworkLine), true);

} // namespace
