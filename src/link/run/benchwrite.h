// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One table written to a bench of transmitters at once, as the window's "Write to
// Several..." does it: every port on its own thread, each with its own backup and line
// trace when they are asked for, each result told in words beside its port.

#include "link/protocol/transferoutcome.h"
#include "portjobs.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace rw {

class SettingsTable;

struct BenchChoices {
    QString backupFolder; // where each port's backup goes; empty: no backup
    QString traceFolder;  // where each port's line trace goes; empty: no trace
    // The name of the signal that stopped the run ("SIGTERM"), asked once every port has
    // ended; empty when none did. Each trace then ends with the stop line.
    std::function<QString()> stoppedBy;
};

// How one port of the bench came out, with the files it made.
struct BenchPortResult {
    QString port;
    TransferOutcome outcome;
    QStringList messages; // the boxes a single Write would have shown, in order
    QString backupFile;   // kept before the write; empty when none was saved
    QString traceFile;    // the line trace; empty when none was recorded
    QString traceError;   // why the trace could not be written whole, for the user
};

// Writes `table` to every port at once and returns when every one has ended; a stop
// request (stopRequested()) ends them all. The progress of each port is counted in bytes
// of the 2048-byte image. `onTick` sees every port's state when one reports something
// new, at most ten times a second.
QList<BenchPortResult>
writeBench(const QStringList &ports, const SettingsTable &table, const BenchChoices &choices,
           const std::function<void(const QList<PortJobState> &)> &onTick = {},
           const QDateTime &when = QDateTime::currentDateTime());

// The block a running port is at, "5 of 16"; empty before the first. Its result's block
// once it has ended without success.
QString benchBlockText(const PortJobState &state);

// A port's result in the words a single Write uses ("Write Success !", "Write Error !")
// with its cause.
QString benchResultText(const BenchPortResult &result);

// The files a port's run made, for its row: "backup: PATH; trace: PATH".
QString benchFilesText(const BenchPortResult &result);

// How the bench came out as a whole, said when it ends: "Write to Several ended: 2 of 3
// transmitters written and verified."
QString benchEndText(const QList<BenchPortResult> &results);

// The whole bench as plain text, one line per port: port, result, files; tab-separated.
QString benchReportText(const QList<BenchPortResult> &results);

} // namespace rw
