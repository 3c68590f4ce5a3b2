// SPDX-License-Identifier: GPL-3.0-or-later
#include "linebackend.h"

#include "networklines.h"
#include "networkportname.h"

namespace rw {

std::unique_ptr<LineBackend> makeLine(const QString &portName)
{
    if (isNetworkPortName(portName))
        return makeNetworkLine(portName);
    return makeSerialLine(portName);
}

} // namespace rw
