// SPDX-License-Identifier: GPL-3.0-or-later
#include "waitclock.h"

#include "commport.h"
#include "stoprequest.h"

#include <QCoreApplication>
#include <algorithm>

namespace rw {

namespace {

// How often a long wait looks whether a stop was asked for (wall-clock milliseconds): late
// enough that a reply on the normal path still costs one wake-up, soon enough for Ctrl+C.
constexpr int StopLookMs = 250;

} // namespace

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

qint64 WaitClock::protocolMs(int wallMs) const
{
    return qint64(wallMs) * speedUp_;
}

LineWaiter::LineWaiter(const WaitClock &clock, TCommPort *port, Wake wake)
    : clock_(clock), port_(port), onBytes_(wake == OnBytes)
{
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, &loop_, [this] {
        armedFor_ = -1;
        loop_.exit(0);
    });
    if (port && onBytes_)
        QObject::connect(port, &TCommPort::activity, &loop_, [this] { loop_.exit(0); });
    QObject::connect(&StopBell::instance(), &StopBell::rung, &loop_, [this] { loop_.exit(0); });
}

bool LineWaiter::waitUntil(qint64 deadline)
{
    if (stopRequested())
        return false;
    const qint64 now = clock_.nowMs();
    const qint64 remaining = deadline - now;
    if (remaining <= 0) {
        QCoreApplication::processEvents();
        return true;
    }
    const qint64 wake = std::min(deadline, now + clock_.protocolMs(StopLookMs));
    if (clock_.jumpTo(wake)) {
        QCoreApplication::processEvents();
        return !stopRequested();
    }
    if (port_ && port_->WaitDirectly(clock_.wallMs(wake - now), onBytes_))
        return !stopRequested();
    if (armedFor_ < 0 || armedFor_ > wake) {
        armedFor_ = wake;
        timer_.start(clock_.wallMs(wake - now));
    }
    // A quitting application makes every further event loop return at once with -1.
    return loop_.exec() == 0 && !stopRequested();
}

} // namespace rw
