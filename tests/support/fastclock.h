// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Protocol time five times faster than the wall clock, for transfer tests that run a real
// simulator: a byte's 3 s budget passes in about 600 ms, far more than an answer needs even
// when the machine runs other tests beside this one, and a time-out still ends quickly.

#include "link/line/waitclock.h"

inline const rw::WaitClock &fastClock()
{
    static const rw::WaitClock clock(5);
    return clock;
}
