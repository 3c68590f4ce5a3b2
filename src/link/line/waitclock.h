// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The protocol's sense of time: the one place that reads the clock and waits, so that the
// time-outs can be exercised quickly by a clock that runs faster than the wall clock.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace rw {

class TCommPort;

class WaitClock {
public:
    // speedUp > 1 makes protocol time run that many times faster than the wall clock.
    explicit WaitClock(int speedUp = 1);
    virtual ~WaitClock() = default;

    // The clock of the line at normal speed, shared by the program's commands (and by
    // every thread: reading it changes nothing).
    static const WaitClock &standard();

    // Milliseconds of protocol time since the clock was made.
    virtual qint64 nowMs() const;
    // A clock that only moves when it is waited on (a test's, which steps through a time-out
    // without waiting for it) moves to `protocolMs` and says true; the real one says false
    // and the wait is done in the event loop.
    virtual bool jumpTo(qint64 protocolMs) const
    {
        (void)protocolMs;
        return false;
    }
    // Wall-clock milliseconds for a span of protocol time, rounded up so that a wait never
    // ends before its deadline.
    int wallMs(qint64 protocolMs) const;
    // Protocol milliseconds that pass in a span of wall-clock time.
    qint64 protocolMs(int wallMs) const;

private:
    QElapsedTimer started_;
    int speedUp_;
};

// Waits for the line on the thread that made it. A line delivers bytes one at a time at
// thousands a second, so one waiter serves a whole transfer: its loop, its timer and its
// connection to the port are set up once, and a wait costs only the wake-up itself. On a
// thread of its own, where nothing else needs events, a serial line sleeps in the system
// instead of an event loop.
class LineWaiter {
public:
    enum Wake { OnBytes, AtDeadline };
    // `port` may be null: then only the deadline ends a wait, in an event loop. A waiter
    // for `AtDeadline` is not woken by bytes; it sleeps in the system where the port can.
    LineWaiter(const WaitClock &clock, TCommPort *port, Wake wake);
    LineWaiter(const LineWaiter &) = delete;
    LineWaiter &operator=(const LineWaiter &) = delete;
    // Keeps window events running until protocol time reaches `deadline`, or sooner when
    // the port reports arriving bytes or a line error, or when a timer set for an earlier
    // deadline goes off (the caller looks again and waits on). Never spins: it sleeps in
    // the event loop or the system. False when the application is quitting and no waiting
    // is possible any more, or when a stop was asked for (stopRequested(), looked at every
    // quarter of a second at least).
    bool waitUntil(qint64 deadline);

private:
    const WaitClock &clock_;
    TCommPort *port_;
    bool onBytes_;
    QEventLoop loop_;
    QTimer timer_;
    // The protocol time the running timer is set for; bytes that keep arriving push every
    // next deadline later, so the timer is set again only when it has gone off.
    qint64 armedFor_ = -1;
};

} // namespace rw
