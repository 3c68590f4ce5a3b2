#include "waitclock.h"

#include "commport.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

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

bool WaitClock::waitUntil(qint64 deadline, const TCommPort *port) const
{
    const qint64 remaining = deadline - nowMs();
    if (remaining <= 0) {
        QCoreApplication::processEvents();
        return true;
    }
    QEventLoop loop;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&loop] { loop.exit(0); });
    if (port)
        QObject::connect(port, &TCommPort::activity, &loop, [&loop] { loop.exit(0); });
    // Round up so that the wait never ends before the deadline.
    timer.start(static_cast<int>((remaining + speedUp_ - 1) / speedUp_));
    // A quitting application makes every further event loop return at once with -1.
    return loop.exec() == 0;
}

} // namespace rw
