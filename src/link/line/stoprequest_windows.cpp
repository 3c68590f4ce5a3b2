// SPDX-License-Identifier: GPL-3.0-or-later
// The stop's waker on Windows: a manual-reset event object, signalled from the first ring
// until it is reset. SetEvent may be called from the console's control handler thread.
#include "stopwaker.h"

#include <windows.h>

namespace rw {

qintptr makeStopWaker()
{
    const HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return event ? reinterpret_cast<qintptr>(event) : NoStopWaker;
}

void ringStopWaker(qintptr waker)
{
    ::SetEvent(reinterpret_cast<HANDLE>(waker));
}

void quietStopWaker(qintptr waker)
{
    ::ResetEvent(reinterpret_cast<HANDLE>(waker));
}

} // namespace rw
