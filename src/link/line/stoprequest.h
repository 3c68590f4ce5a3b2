// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A request to stop the transfers under way, made from a signal handler (Ctrl+C, the
// system shutting down). Transfers look at it while they wait for the line and end with
// the outcome Stopped; setting it is safe inside a signal handler.

#include <QObject>

namespace rw {

void requestStop();
// The same request from the program's own event loop (the window's Stop button, Escape,
// a signal seen by the window): besides the request, every wait under way is woken at once
// instead of at its next look.
void requestStopNow();

// Rings when requestStopNow() is called; the waits listen to it.
class StopBell : public QObject {
    Q_OBJECT
public:
    static StopBell &instance();
signals:
    void rung();
};

bool stopRequested();

// What a thread sleeping in the system without an event loop waits on to wake at once when
// a stop is asked for, from a signal handler too: an eventfd's descriptor on Linux, an
// event object's handle on Windows; -1 where there is none.
qintptr stopWaitHandle();
// For a process that runs several transfers one after another (and for tests).
void clearStopRequest();

} // namespace rw
