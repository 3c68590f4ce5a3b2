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

// A descriptor that turns readable when a stop is asked for, from a signal handler too, so
// that a thread sleeping without an event loop wakes at once; -1 where there is none.
int stopDescriptor();
// For a process that runs several transfers one after another (and for tests).
void clearStopRequest();

} // namespace rw
