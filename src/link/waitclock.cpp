// SPDX-License-Identifier: GPL-3.0-or-later
#include "waitclock.h"

#include "commport.h"

#include <QCoreApplication>

namespace rw {

WaitClock::WaitClock(int speedUp) : speedUp_(speedUp < 1 ? 1 : speedUp)
{
    started_.start();
}

const WaitClock &WaitClock::standard()
{
    static const WaitClock clock;
    return clock;
}

qint64 WaitClock::nowMs() const
{
    return started_.nsecsElapsed() * speedUp_ / 1000000;
}

int WaitClock::wallMs(qint64 protocolMs) const
{
    return static_cast<int>((protocolMs + speedUp_ - 1) / speedUp_);
}

LineWaiter::LineWaiter(const WaitClock &clock, const TCommPort *port) : clock_(clock)
{
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, &loop_, [this] {
        armedFor_ = -1;
        loop_.exit(0);
    });
    if (port)
        QObject::connect(port, &TCommPort::activity, &loop_, [this] { loop_.exit(0); });
}

bool LineWaiter::waitUntil(qint64 deadline)
{
    const qint64 remaining = deadline - clock_.nowMs();
    if (remaining <= 0) {
        QCoreApplication::processEvents();
        return true;
    }
    if (armedFor_ < 0 || armedFor_ > deadline) {
        armedFor_ = deadline;
        timer_.start(clock_.wallMs(remaining));
    }
    // A quitting application makes every further event loop return at once with -1.
    return loop_.exec() == 0;
}

} // namespace rw
