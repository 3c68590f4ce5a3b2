// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One transfer on a thread of its own, shown by a view that lives on the thread that
// started it (the window's). The port's thread never waits for the view's thread while the
// line is busy: what it shows is handed over as copies and shown when that thread gets to
// it. Only a box waits for its answer, so that what follows it (closing the port, enabling
// the window) happens once the user has read it, as on a single thread.

#include "link/protocol/transferoutcome.h"
#include "model/settingstable.h"

#include <QString>
#include <functional>

namespace rw {

class LineTrace;
class TCommPort;
class TransferView;

// What a transfer on its own thread hands back, by value, once it has ended.
struct ThreadTransfer {
    TransferOutcome outcome;
    SettingsTable table; // what a Read brought in, when the transfer read into it
    QString backupFile;  // what a Write kept before writing, when it kept a backup
};

// The transfer, run on its own thread with that thread's port (closed, its name not yet
// set) and a view whose selected port is the one to use. It owns whatever it captured.
using ThreadJob = std::function<ThreadTransfer(TCommPort &port, TransferView &view)>;

// Runs `job` on a thread of its own and returns what it handed back once it has ended.
// Meanwhile the calling thread keeps its events running and shows every call of the job's
// view on `view`, in the order made: the boxes (warn, plainMessage, portFailed,
// commandEnded) and showTable before the job goes on, everything else without holding it
// up. `view`'s selected port is read once, at the start. `trace`, when given, records the
// line; it is the job's alone until the call returns.
ThreadTransfer runOnOwnThread(const ThreadJob &job, TransferView &view, LineTrace *trace = nullptr);

} // namespace rw
