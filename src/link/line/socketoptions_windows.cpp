// SPDX-License-Identifier: GPL-3.0-or-later
#include "socketoptions.h"

#include <winsock2.h>

#include <mstcpip.h>

namespace rw {

void acknowledgeAtOnce(std::intptr_t socket)
{
    // An acknowledgement for every segment; Windows keeps it for the socket's life, so a
    // repeat costs one call and changes nothing.
    DWORD frequency = 1;
    DWORD returned = 0;
    ::WSAIoctl(static_cast<SOCKET>(socket), SIO_TCP_SET_ACK_FREQUENCY, &frequency, sizeof frequency,
               nullptr, 0, &returned, nullptr, nullptr);
}

} // namespace rw
