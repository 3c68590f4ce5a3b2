// The verbs that talk to transmitters: read, write, verify; and the port list.

#include "base/settingsfile.h"
#include "console.h"
#include "exitstatus.h"
#include "link/commport.h"
#include "link/linetrace.h"
#include "link/portdetails.h"
#include "link/portjobs.h"
#include "link/portlist.h"
#include "link/transmittercommands.h"
#include "link/waitclock.h"
#include "model/settingstable.h"
#include "model/tablefile.h"
#include "progress.h"
#include "report/tablereport.h"
#include "stopsignals.h"
#include "synth/synthsettings.h"
#include "tableinput.h"
#include "verbs.h"

#include <QDir>
#include <QFile>
#include <memory>

namespace rw::cli {

namespace {

// The trace file of --trace, when asked for.
class Trace {
public:
    // False, with the reason told, when the file cannot be created.
    bool open(const QString &path)
    {
        if (path.isEmpty())
            return true;
        file_.setFileName(path);
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            printError(path, QStringLiteral("cannot write the trace: %1").arg(file_.errorString()));
            return false;
        }
        trace_ = std::make_unique<LineTrace>(file_);
        return true;
    }
    LineTrace *get() const { return trace_.get(); }
    // False, with the reason told, when the trace could not be written whole.
    bool close()
    {
        if (!trace_)
            return true;
        const bool ok = trace_->ok();
        trace_.reset();
        if (!ok || !file_.flush()) {
            printError(file_.fileName(),
                       QStringLiteral("the trace is incomplete: %1").arg(file_.errorString()));
            return false;
        }
        file_.close();
        return true;
    }

private:
    QFile file_;
    std::unique_ptr<LineTrace> trace_;
};

// Runs the job on the ports with progress and trace; tells every failure and every stop
// on standard error. Nullopt when the trace file could not be opened.
std::optional<QList<PortJobState>> run(const Arguments &a, TransferCommand command,
                                       const PortJob &job, bool &traceOk)
{
    Trace trace;
    if (!trace.open(a.traceFile))
        return std::nullopt;
    // From here on a signal stops the transfers rather than the program.
    installStopSignals();
    const std::unique_ptr<Progress> progress = Progress::make(a.quiet);
    const QList<PortJobState> states = runOnPorts(
        a.ports, job, trace.get(), [&](const QList<PortJobState> &s) { progress->show(s); });
    const QString signal = stopSignalName(stopSignal());
    if (!signal.isEmpty() && trace.get()) {
        for (const PortJobState &s : states) {
            const QString how = s.outcome.result == TransferResult::Stopped
                                    ? outcomeSummary(command, s.outcome)
                                    : QStringLiteral("stopped");
            trace.get()->note(s.port, QStringLiteral("run %1 by %2").arg(how, signal));
        }
    }
    traceOk = trace.close();
    for (const PortJobState &s : states) {
        if (s.ok)
            continue;
        for (const QString &m : s.messages)
            printError(s.port, m);
        if (s.outcome.result == TransferResult::Stopped)
            printError(s.port,
                       QStringLiteral("%1 (%2)").arg(outcomeSummary(command, s.outcome), signal));
    }
    return states;
}

// A Read of the one port into `received`: nullopt when it succeeded (and the trace was
// written whole: `traceOk`), else the exit status.
std::optional<int> readPort(const Arguments &a, SettingsTable &received, bool &traceOk)
{
    const auto states = run(
        a, TransferCommand::Read,
        [&received](TCommPort &port, TransferView &view) {
            return TransmitterCommands(port, view, WaitClock::standard()).Read(received);
        },
        traceOk);
    if (!states)
        return FileError;
    // A stop that came after the last block still stops the run: nothing is saved.
    if (const int signal = stopSignal())
        return stoppedExitStatus(signal);
    if (!states->first().ok)
        return Failed;
    return std::nullopt;
}

} // namespace

int listPorts(const Arguments &a)
{
    Q_UNUSED(a);
    const QStringList names = systemPortNames(settingsFilePath(QDir::currentPath()));
    for (const QString &name : names) {
        const QString details = portDetails(name);
        printOut(details.isEmpty() ? name + '\n' : QStringLiteral("%1\t%2\n").arg(name, details));
    }
    return Success;
}

int readTransmitter(const Arguments &a)
{
    SettingsTable received;
    bool traceOk = true;
    if (const auto failed = readPort(a, received, traceOk)) {
        if (stopSignal())
            printError(a.output, QStringLiteral("not written: the run was stopped"));
        return *failed;
    }
    const TableSaveResult saved = saveTableFile(a.output, received.buildImage());
    if (!saved.ok) {
        printError(a.output, QStringLiteral("cannot write the table file: %1").arg(saved.error));
        return FileError;
    }
    if (!a.quiet)
        printOut(QStringLiteral("%1: read into %2\n").arg(a.ports.first(), a.output));
    return traceOk ? Success : FileError;
}

int writeTransmitters(const Arguments &a)
{
    const QString &file = a.operands.first();
    const std::optional<SettingsTable> table = openTable(file);
    if (!table)
        return FileError;
    bool traceOk = true;
    const auto states = run(
        a, TransferCommand::Write,
        [&](TCommPort &port, TransferView &view) {
            return TransmitterCommands(port, view, WaitClock::standard()).Write(*table);
        },
        traceOk);
    if (!states)
        return FileError;
    QStringList failed, stopped;
    for (const PortJobState &s : *states) {
        if (s.outcome.result == TransferResult::Stopped)
            stopped << s.port;
        else if (!s.ok)
            failed << s.port;
        else if (!a.quiet)
            printOut(QStringLiteral("%1: %2\n")
                         .arg(s.port, outcomeSummary(TransferCommand::Write, s.outcome)));
    }
    const qsizetype good = states->size() - failed.size() - stopped.size();
    if (!failed.isEmpty() || !stopped.isEmpty()) {
        QString report =
            QStringLiteral("%1 of %2 transmitters written").arg(good).arg(states->size());
        if (!failed.isEmpty())
            report += QStringLiteral("; failed: ") + failed.join(QStringLiteral(", "));
        if (!stopped.isEmpty())
            report += QStringLiteral("; stopped: ") + stopped.join(QStringLiteral(", "));
        printError(QString(), report);
    } else if (!a.quiet && states->size() > 1) {
        printOut(QStringLiteral("all %1 transmitters written\n").arg(states->size()));
    }
    if (const int signal = stopSignal())
        return stoppedExitStatus(signal);
    if (!failed.isEmpty())
        return Failed;
    return traceOk ? Success : FileError;
}

int verifyTransmitter(const Arguments &a)
{
    const QString &file = a.operands.first();
    const std::optional<SettingsTable> table = openTable(file);
    if (!table)
        return FileError;
    SettingsTable received;
    bool traceOk = true;
    if (const auto failed = readPort(a, received, traceOk))
        return *failed;
    const QList<Difference> d = tableDifferences(*table, received);
    if (d.isEmpty()) {
        if (!a.quiet)
            printOut(QStringLiteral("%1 matches %2\n").arg(a.ports.first(), file));
        return traceOk ? Success : FileError;
    }
    printOut(differencesText(d, file, a.ports.first()));
    return Failed;
}

} // namespace rw::cli
