// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program says of a COM port that is not there, as Windows has it (the same
// interface as the Linux tests' support/missingport.h).

#include <QString>

namespace rw {

inline QString missingPortReason(const QString &port)
{
    return "The port " + port +
           " is not there: the adapter is unplugged, or Windows has given it another number "
           "(Device Manager, Ports). Plug it in and choose the port again; the list of ports "
           "shows the ports present each time it opens.";
}

} // namespace rw
