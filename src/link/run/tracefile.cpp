// SPDX-License-Identifier: GPL-3.0-or-later
#include "tracefile.h"

#include "link/ports/portfilename.h"

namespace rw {

QString traceFilePath(const QString &folder, const QString &port, const QDateTime &when)
{
    return datedPortFilePath(folder, port, when, QStringLiteral(".txt"));
}

bool TraceFile::open(const QString &path, QString &error)
{
    if (!openTraceFile(file_, path, error))
        return false;
    path_ = path;
    trace_ = std::make_unique<LineTrace>(file_);
    return true;
}

bool TraceFile::close(QString &error)
{
    if (!trace_)
        return true;
    const bool ok = trace_->ok();
    trace_.reset();
    if (!ok || !file_.flush()) {
        error = file_.errorString();
        file_.close();
        return false;
    }
    file_.close();
    return true;
}

QString stoppedRunNote(TransferCommand command, const TransferOutcome &outcome,
                       const QString &signalName)
{
    const QString how = outcome.result == TransferResult::Stopped ? outcomeSummary(command, outcome)
                                                                  : QStringLiteral("stopped");
    return QStringLiteral("run %1 by %2").arg(how, signalName);
}

} // namespace rw
