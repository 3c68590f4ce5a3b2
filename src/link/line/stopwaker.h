// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system object behind the stop request that a thread sleeping in the system can wait
// on: an eventfd on Linux, an event object on Windows. One implementation file per system.

#include <QtGlobal>

namespace rw {

constexpr qintptr NoStopWaker = -1;

// Makes the object, not ringing; NoStopWaker where the system has none.
qintptr makeStopWaker();
// Makes it ring until quietStopWaker(); safe inside a signal handler and from any thread.
void ringStopWaker(qintptr waker);
void quietStopWaker(qintptr waker);

} // namespace rw
