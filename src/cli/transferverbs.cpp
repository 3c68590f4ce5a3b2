// SPDX-License-Identifier: GPL-3.0-or-later
// The verbs that talk to transmitters: read, write, verify; and the port list.

#include "base/settingsfile.h"
#include "console.h"
#include "exitstatus.h"
#include "link/line/commport.h"
#include "link/line/linetrace.h"
#include "link/line/waitclock.h"
#include "link/ports/portdetails.h"
#include "link/ports/portlist.h"
#include "link/protocol/transferview.h"
#include "link/protocol/transmittercommands.h"
#include "link/run/imageprogressview.h"
#include "link/run/portjobs.h"
#include "link/run/tracefile.h"
#include "link/run/transmitterbackup.h"
#include "model/settingstable.h"
#include "model/tablefile.h"
#include "model/textrules.h"
#include "portidentity.h"
#include "progress.h"
#include "report/tablereport.h"
#include "stopsignals.h"
#include "synth/synthsettings.h"
#include "synthcontext.h"
#include "tableinput.h"
#include "verbs.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QMutex>
#include <QSerialPortInfo>
#include <memory>

namespace rw::cli {

namespace {

// The trace file of --trace, when asked for; every failure told on standard error.
class Trace {
public:
    bool open(const QString &path)
    {
        QString error;
        if (path.isEmpty() || file_.open(path, error))
            return true;
        printError(path, QStringLiteral("cannot write the trace: %1").arg(error));
        return false;
    }
    LineTrace *get() const { return file_.trace(); }
    bool close()
    {
        QString error;
        if (file_.close(error))
            return true;
        printError(file_.path(), QStringLiteral("the trace is incomplete: %1").arg(error));
        return false;
    }

private:
    TraceFile file_;
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
    const PortJob counted = [&job](TCommPort &port, TransferView &view) {
        ImageProgressView imageView(view);
        return job(port, imageView);
    };
    // Nothing to show with --quiet: no tick at all.
    std::function<void(const QList<PortJobState> &)> show;
    if (!a.quiet)
        show = [&](const QList<PortJobState> &s) { progress->show(s); };
    const QList<PortJobState> states = runOnPorts(a.ports, counted, trace.get(), show);
    const QString signal = stopSignalName(stopSignal());
    if (!signal.isEmpty() && trace.get()) {
        for (const PortJobState &s : states)
            trace.get()->note(s.port, stoppedRunNote(command, s.outcome, signal));
    }
    traceOk = trace.close();
    for (const PortJobState &s : states) {
        if (s.ok)
            continue;
        for (const QString &m : s.messages)
            printReport(s.port, m);
        if (s.outcome.result == TransferResult::Stopped)
            printError(s.port,
                       QStringLiteral("%1 (%2)").arg(outcomeSummary(command, s.outcome), signal));
        // Why, and what to do: the words the window shows below its box.
        const QString cause = outcomeCause(command, s.outcome, s.port);
        if (!cause.isEmpty() && !s.messages.contains(cause))
            printError(s.port, cause);
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
    // One look at the system's ports serves the list and every port's details.
    const QList<QSerialPortInfo> available = QSerialPortInfo::availablePorts();
    const QStringList names = systemPortNames(settingsFilePath(QDir::currentPath()), available);
    for (const QString &name : names) {
        // Both come from outside: the settings file, and what a device says of itself.
        const QString shown = escapedControls(name);
        const QString details = escapedControls(portDetails(name, available));
        printOut(details.isEmpty() ? shown + '\n' : QStringLiteral("%1\t%2\n").arg(shown, details));
    }
    return Success;
}

int readTransmitter(const Arguments &a)
{
    // Refused before the port is touched: a table that could not be kept is not read.
    if (const auto refusal = tableSaveRefusal(a.output)) {
        printError(QString(), *refusal);
        return FileError;
    }
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
        printOut(QStringLiteral("%1: read into %2\n")
                     .arg(escapedControls(a.ports.first()), escapedControls(a.output)));
    return traceOk ? Success : FileError;
}

namespace {

// Prints what each port's Write came to and, for several or any failed, the sum of them;
// true when a port failed (a stopped one is not a failure).
bool reportWrites(const QList<PortJobState> &states, const QMap<QString, QString> &backups,
                  bool quiet)
{
    QStringList failed, stopped;
    for (const PortJobState &s : states) {
        if (backups.contains(s.port) && !quiet)
            printOut(QStringLiteral("%1: settings kept in %2\n")
                         .arg(escapedControls(s.port), escapedControls(backups[s.port])));
        if (s.outcome.result == TransferResult::Stopped)
            stopped << s.port;
        else if (!s.ok)
            failed << s.port;
        else if (!quiet)
            printOut(QStringLiteral("%1: %2\n")
                         .arg(escapedControls(s.port),
                              outcomeSummary(TransferCommand::Write, s.outcome)));
    }
    const qsizetype good = states.size() - failed.size() - stopped.size();
    if (!failed.isEmpty() || !stopped.isEmpty()) {
        QString report =
            QStringLiteral("%1 of %2 transmitters written").arg(good).arg(states.size());
        if (!failed.isEmpty())
            report += QStringLiteral("; failed: ") + failed.join(QStringLiteral(", "));
        if (!stopped.isEmpty())
            report += QStringLiteral("; stopped: ") + stopped.join(QStringLiteral(", "));
        printError(QString(), report);
    } else if (!quiet && states.size() > 1) {
        printOut(QStringLiteral("all %1 transmitters written\n").arg(states.size()));
    }
    return !failed.isEmpty();
}

} // namespace

int writeTransmitters(const Arguments &a)
{
    if (const auto twice = samePortTwice(a.ports)) {
        printError(QString(), QStringLiteral("one port is named twice: %1").arg(*twice));
        return UsageError;
    }
    const QString &file = a.operands.first();
    const std::optional<SettingsTable> table =
        openTable(file, a.pad ? TableLength::Any : TableLength::Whole);
    if (!table)
        return FileError;
    // Refused before any port is opened: a backup that cannot be kept stops every write.
    if (!a.backupDir.isEmpty()) {
        if (const auto refusal = backupFolderRefusal(a.backupDir)) {
            printError(QString(), *refusal + QStringLiteral(" Nothing was written."));
            return FileError;
        }
    }
    bool traceOk = true;
    QMutex backupsLock;
    QMap<QString, QString> backups; // port -> the file that keeps what its write replaced
    const auto states = run(
        a, TransferCommand::Write,
        [&](TCommPort &port, TransferView &view) {
            if (a.backupDir.isEmpty())
                return TransmitterCommands(port, view, WaitClock::standard()).Write(*table);
            QString kept;
            const TransferOutcome outcome =
                writeWithBackup(port, view, WaitClock::standard(), *table, a.backupDir, &kept);
            QMutexLocker lock(&backupsLock);
            if (!kept.isEmpty())
                backups.insert(view.selectedPortName(), kept);
            return outcome;
        },
        traceOk);
    if (!states)
        return FileError;
    const bool anyFailed = reportWrites(*states, backups, a.quiet);
    if (const int signal = stopSignal())
        return stoppedExitStatus(signal);
    if (anyFailed)
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
    SettingsTable ownTable = *table;
    const SynthContext synth(ownTable);
    const QList<Difference> d = settingDifferences(*table, received, synth.state());
    if (d.isEmpty()) {
        if (!a.quiet)
            printOut(QStringLiteral("%1 matches %2\n")
                         .arg(escapedControls(a.ports.first()), escapedControls(file)));
        return traceOk ? Success : FileError;
    }
    printOut(differencesText(d, file, a.ports.first()));
    return Failed;
}

} // namespace rw::cli
