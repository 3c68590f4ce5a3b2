// SPDX-License-Identifier: GPL-3.0-or-later
#include "benchwrite.h"

#include "imageprogressview.h"
#include "link/line/commport.h"
#include "link/line/waitclock.h"
#include "link/protocol/transmittercommands.h"
#include "tracefile.h"
#include "transmitterbackup.h"

#include <QDir>
#include <algorithm>
#include <memory>
#include <vector>

namespace rw {

namespace {

// The trace files of the ports, opened one after another before the run, so that no two
// ports take one name; each port's thread writes only its own.
std::vector<std::unique_ptr<TraceFile>> openTraces(const QStringList &ports, const QString &folder,
                                                   const QDateTime &when,
                                                   std::vector<BenchPortResult> &results)
{
    std::vector<std::unique_ptr<TraceFile>> traces(results.size());
    if (folder.isEmpty())
        return traces;
    const bool made = QDir().mkpath(folder);
    for (std::size_t i = 0; i < traces.size(); ++i) {
        const QString path = traceFilePath(folder, ports[static_cast<qsizetype>(i)], when);
        auto trace = std::make_unique<TraceFile>();
        QString error;
        if (made && trace->open(path, error)) {
            results[i].traceFile = path;
            traces[i] = std::move(trace);
        } else {
            results[i].traceError = made ? error : QStringLiteral("cannot make %1").arg(folder);
        }
    }
    return traces;
}

} // namespace

QList<BenchPortResult> writeBench(const QStringList &ports, const SettingsTable &table,
                                  const BenchChoices &choices,
                                  const std::function<void(const QList<PortJobState> &)> &onTick,
                                  const QDateTime &when)
{
    // One slot per port, written by that port's thread alone and read here only after
    // every thread has ended.
    std::vector<BenchPortResult> results(static_cast<std::size_t>(ports.size()));
    for (qsizetype i = 0; i < ports.size(); ++i)
        results[static_cast<std::size_t>(i)].port = ports[i];
    const std::vector<std::unique_ptr<TraceFile>> traces =
        openTraces(ports, choices.traceFolder, when, results);
    const PortJob job = [&](TCommPort &port, TransferView &view) {
        const auto i = static_cast<std::size_t>(ports.indexOf(view.selectedPortName()));
        if (traces[i])
            port.setTrace(traces[i]->trace());
        ImageProgressView counted(view);
        const TransferOutcome outcome =
            choices.backupFolder.isEmpty()
                ? TransmitterCommands(port, counted, WaitClock::standard()).Write(table)
                : writeWithBackup(port, counted, WaitClock::standard(), table, choices.backupFolder,
                                  &results[i].backupFile);
        // The port's close belongs in its trace; the trace stays with this thread.
        port.Close();
        port.setTrace(nullptr);
        return outcome;
    };
    const QList<PortJobState> states = runOnPorts(ports, job, nullptr, onTick);
    const QString signal = choices.stoppedBy ? choices.stoppedBy() : QString();
    QList<BenchPortResult> out;
    for (qsizetype i = 0; i < states.size(); ++i) {
        BenchPortResult r = results[static_cast<std::size_t>(i)];
        r.outcome = states[i].outcome;
        r.messages = states[i].messages;
        QString error;
        const auto &trace = traces[static_cast<std::size_t>(i)];
        if (trace && !signal.isEmpty())
            trace->trace()->note(r.port, stoppedRunNote(TransferCommand::Write, r.outcome, signal));
        if (trace && !trace->close(error))
            r.traceError = error;
        out << r;
    }
    return out;
}

QString benchBlockText(const PortJobState &state)
{
    if (state.done) {
        if (state.ok)
            return QStringLiteral("%1 of %1").arg(TransferBlockCount);
        if (state.outcome.block < 0)
            return {};
        return QStringLiteral("%1 of %2").arg(state.outcome.block + 1).arg(TransferBlockCount);
    }
    if (state.maximum <= 0)
        return {};
    const int block = std::min(state.position / TransferBlockSize + 1, TransferBlockCount);
    return QStringLiteral("%1 of %2").arg(block).arg(TransferBlockCount);
}

QString benchResultText(const BenchPortResult &result)
{
    const TransferOutcome &o = result.outcome;
    const QString box = outcomeBoxText(TransferCommand::Write, o);
    if (o.ok())
        return box;
    // The box, what the run said on its way that the outcome does not carry (the port's
    // opening message, a backup that could not be kept), then why and what to do. The
    // backup's own success is told by its file.
    const QString backupRead = outcomeBoxText(TransferCommand::Read, {});
    QStringList words;
    if (!box.isEmpty())
        words << box;
    for (const QString &m : result.messages) {
        if (m != backupRead && !words.contains(m))
            words << m;
    }
    const QString cause = outcomeCause(TransferCommand::Write, o, result.port);
    if (!cause.isEmpty() && !words.contains(cause))
        words << cause;
    // One line: a box's paragraphs (the port's opening message and its reason) run on.
    return words.join(u' ').simplified();
}

QString benchFilesText(const BenchPortResult &result)
{
    QStringList files;
    if (!result.backupFile.isEmpty())
        files << QStringLiteral("backup: %1").arg(result.backupFile);
    if (!result.traceFile.isEmpty())
        files << QStringLiteral("trace: %1").arg(result.traceFile);
    if (!result.traceError.isEmpty())
        files << QStringLiteral("trace incomplete: %1").arg(result.traceError);
    return files.join(QStringLiteral("; "));
}

QString benchEndText(const QList<BenchPortResult> &results)
{
    const auto written = std::count_if(results.begin(), results.end(),
                                       [](const BenchPortResult &r) { return r.outcome.ok(); });
    return QStringLiteral("Write to Several ended: %1 of %2 transmitters written and verified.")
        .arg(written)
        .arg(results.size());
}

QString benchReportText(const QList<BenchPortResult> &results)
{
    QString text;
    for (const BenchPortResult &r : results) {
        QStringList line{r.port, benchResultText(r)};
        if (const QString files = benchFilesText(r); !files.isEmpty())
            line << files;
        text += line.join(u'\t') + u'\n';
    }
    return text;
}

} // namespace rw
