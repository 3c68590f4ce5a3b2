// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Protocol time that stands still until the protocol waits, then moves straight to the end
// of the wait: a time-out of seconds is stepped through at once, to the millisecond.

#include "link/line/waitclock.h"

#include <algorithm>

namespace rw {

class SteppingClock : public WaitClock {
public:
    qint64 nowMs() const override { return now_; }
    bool jumpTo(qint64 protocolMs) const override
    {
        now_ = std::max(now_, protocolMs);
        return true;
    }

private:
    mutable qint64 now_ = 0;
};

} // namespace rw
