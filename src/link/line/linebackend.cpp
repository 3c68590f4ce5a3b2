// SPDX-License-Identifier: GPL-3.0-or-later
#include "linebackend.h"

#include "networklines.h"
#include "networkportname.h"
#include "serialline.h"

namespace rw {

std::unique_ptr<LineBackend> makeLine(const QString &portName)
{
    if (isNetworkPortName(portName))
        return makeNetworkLine(portName);
    return std::make_unique<SerialLine>(portName);
}

} // namespace rw
