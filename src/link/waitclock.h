#pragma once
// The protocol's sense of time: the one place that reads the clock and waits, so that the
// time-outs can be exercised quickly by a clock that runs faster than the wall clock.

#include <QElapsedTimer>

namespace rw {

class TCommPort;

class WaitClock {
public:
    // speedUp > 1 makes protocol time run that many times faster than the wall clock.
    explicit WaitClock(int speedUp = 1);

    // The clock of the line at normal speed, shared by the program's commands.
    static const WaitClock &standard();

    // Milliseconds of protocol time since the clock was made.
    qint64 nowMs() const;

    // Keeps window events running until protocol time reaches `deadline`, or sooner when
    // `port` reports arriving bytes or a line error. Never spins: it sleeps in the event
    // loop. False when the application is quitting and no waiting is possible any more.
    bool waitUntil(qint64 deadline, const TCommPort *port = nullptr) const;

private:
    QElapsedTimer started_;
    int speedUp_;
};

} // namespace rw
