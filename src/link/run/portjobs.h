// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs one transfer on several transmitters at the same time: every port gets a thread,
// a port object and a window stand-in of its own, so a failure on one line never stops or
// spoils another. Used to program a bench of transmitters with one image.

#include "link/protocol/transferoutcome.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace rw {

class LineTrace;
class TCommPort;
class TransferView;

// How one port's transfer stands; what the window would have shown, gathered.
struct PortJobState {
    QString port;
    int position = 0; // of the progress bar, within 0..maximum
    int maximum = 0;
    QString status;       // the status text the window would show
    QStringList messages; // the boxes the window would have shown, in order
    bool done = false;
    bool ok = false;         // once done: outcome.ok()
    TransferOutcome outcome; // once done: what the transfer came to
};

// The transfer itself, run on the port's own thread with that thread's port (closed, its
// name not yet set) and view (whose selected port is the one to use).
using PortJob = std::function<TransferOutcome(TCommPort &port, TransferView &view)>;

// Runs `job` once for each port, all at once, and returns when every one has ended. Each
// port's thread owns its port and its view and hands what it shows, as copies, to the
// calling thread, which alone keeps the states: every status, box and outcome of every
// port arrives, however long `onTick` takes. While they run, `onTick` is called on the
// calling thread with every port's state when a port has reported something new (at most
// ten times a second), and once more at the end; the calling thread sleeps until a port
// reports. `trace`, when given, records every line.
QList<PortJobState> runOnPorts(const QStringList &ports, const PortJob &job,
                               LineTrace *trace = nullptr,
                               const std::function<void(const QList<PortJobState> &)> &onTick = {});

} // namespace rw
