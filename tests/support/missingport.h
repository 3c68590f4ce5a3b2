// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program says of a serial port with no device behind it, as Linux has it (a
// Windows build's tests take support/windows/missingport.h instead).

#include <QString>

namespace rw {

inline QString missingPortReason(const QString &port)
{
    return "The port " + port +
           " has no device behind it: the adapter is unplugged, or the system has given it "
           "another name. Plug it in and choose the port again; the list of ports shows the "
           "ports present each time it opens.";
}

} // namespace rw
