// SPDX-License-Identifier: GPL-3.0-or-later
#include "socketoptions.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace rw {

void acknowledgeAtOnce(std::intptr_t socket)
{
#ifdef TCP_QUICKACK
    // Linux keeps quick acknowledgements only until its own heuristics end them.
    const int on = 1;
    ::setsockopt(static_cast<int>(socket), IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
#else
    (void)socket;
#endif
}

} // namespace rw
