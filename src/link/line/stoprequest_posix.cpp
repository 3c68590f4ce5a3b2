// SPDX-License-Identifier: GPL-3.0-or-later
// The stop's waker on Linux: an eventfd, readable from the first ring until it is read.
#include "stopwaker.h"

#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace rw {

qintptr makeStopWaker()
{
    const int fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    return fd < 0 ? NoStopWaker : fd;
}

void ringStopWaker(qintptr waker)
{
    const uint64_t one = 1;
    if (::write(static_cast<int>(waker), &one, sizeof one) < 0) {
        // Full (it already rings) or gone: nothing more to do either way.
    }
}

void quietStopWaker(qintptr waker)
{
    uint64_t rings = 0;
    if (::read(static_cast<int>(waker), &rings, sizeof rings) < 0) {
        // Nothing was ringing.
    }
}

} // namespace rw
