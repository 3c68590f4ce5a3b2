// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file a line trace is written to, for rw830kt-cli's --trace and the window's
// Record Line Trace: opened without ever holding the program up before the port is touched
// (a FIFO nobody reads is refused instead of waited for), written as the run goes, and
// checked whole at the end.

#include "link/line/linetrace.h"
#include "link/protocol/transferoutcome.h"

#include <QDateTime>
#include <QFile>
#include <QString>
#include <memory>

namespace rw {

// Opens `path` for writing, created or emptied, without waiting for a reader. False, with
// `error` set to the reason, when it cannot be opened.
bool openTraceFile(QFile &file, const QString &path, QString &error);

// Where the window keeps a transfer's trace: "<folder>/<port>-YYYYMMDD-HHMMSS.txt", never
// replacing an earlier one.
QString traceFilePath(const QString &folder, const QString &port,
                      const QDateTime &when = QDateTime::currentDateTime());

// A trace's last line when a signal stopped the run, the same from both front ends: "run
// stopped during block 5 by SIGTERM"; "run stopped by SIGTERM" for a port whose transfer
// had ended otherwise.
QString stoppedRunNote(TransferCommand command, const TransferOutcome &outcome,
                       const QString &signalName);

class TraceFile {
public:
    // False, with `error` set to the reason, when the file cannot be created.
    bool open(const QString &path, QString &error);
    // The trace to hand to the port; null before open().
    LineTrace *trace() const { return trace_.get(); }
    const QString &path() const { return path_; }
    // Ends the trace. False, with `error` set to the reason, when it could not be written
    // whole; true when none was open.
    bool close(QString &error);

private:
    QFile file_;
    QString path_;
    std::unique_ptr<LineTrace> trace_;
};

} // namespace rw
