// SPDX-License-Identifier: GPL-3.0-or-later
// The transmitter link's part of the window: the port list, Read, Write (with the backup
// of what it replaces, when asked for) and Compare, each with its line trace when asked
// for, and each ending in one result that says where the files it made went. The port of
// each of them lives on a thread of its own, which never waits for the window's.

#include "base/settingsfile.h"
#include "base/stopsignalnames.h"
#include "base/windowchoices.h"
#include "differencesreport.h"
#include "editors/dialogs.h"
#include "frmmain.h"
#include "link/line/commport.h"
#include "link/line/stoprequest.h"
#include "link/line/waitclock.h"
#include "link/ports/portlist.h"
#include "link/protocol/transmittercommands.h"
#include "link/run/tracefile.h"
#include "link/run/transferthread.h"
#include "link/run/transmitterbackup.h"
#include "model/settingstable.h"
#include "report/tablereport.h"
#include "windowtransferview.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QScopedValueRollback>

namespace rw {

namespace {

// One command's line trace on the window's port, when Record Line Trace is on, and what
// the result box says of it.
class CommandTrace {
public:
    CommandTrace(bool on, const QString &folder, const QString &port) : port_(port)
    {
        if (!on)
            return;
        const QString path = traceFilePath(folder, port);
        QString error;
        if (!QDir().mkpath(folder))
            error = QStringLiteral("the folder %1 cannot be made")
                        .arg(QDir::toNativeSeparators(folder));
        else
            file_.open(path, error);
        note_ = error.isEmpty()
                    ? QStringLiteral("The line trace is in %1.").arg(QDir::toNativeSeparators(path))
                    : QStringLiteral("No line trace was kept: %1.").arg(error);
    }
    ~CommandTrace() { end(); }
    CommandTrace(const CommandTrace &) = delete;
    CommandTrace &operator=(const CommandTrace &) = delete;

    // What the port's thread records into; null when no trace is kept.
    LineTrace *line() const { return file_.trace(); }

    // The line for the result box while the trace is still being written.
    const QString &note() const { return note_; }
    // A line of the program's own at the end of the trace (why the run stopped), once the
    // port's thread has ended.
    void addLine(const QString &text)
    {
        if (file_.trace() && !text.isEmpty())
            file_.trace()->note(port_, text);
    }
    // Ends the trace, once the port's thread has ended; the line for the result box.
    QString end()
    {
        if (!file_.trace())
            return note_;
        QString error;
        if (!file_.close(error))
            note_ = QStringLiteral("The line trace %1 is incomplete: %2")
                        .arg(QDir::toNativeSeparators(file_.path()), error);
        return note_;
    }

private:
    QString port_;
    TraceFile file_;
    QString note_;
};

// A Read into a table of its own, which the window takes (or compares) once it has arrived.
ThreadJob reading()
{
    return [](TCommPort &port, TransferView &view) {
        ThreadTransfer read;
        read.outcome = TransmitterCommands(port, view, WaitClock::standard()).Read(read.table);
        return read;
    };
}

// A Write of a copy of the window's table; first a backup into `backupFolder`, unless empty.
ThreadJob writing(const SettingsTable &table, const QString &backupFolder)
{
    return [table, backupFolder](TCommPort &port, TransferView &view) {
        ThreadTransfer written;
        written.outcome = backupFolder.isEmpty()
                              ? TransmitterCommands(port, view, WaitClock::standard()).Write(table)
                              : writeWithBackup(port, view, WaitClock::standard(), table,
                                                backupFolder, &written.backupFile);
        return written;
    };
}

} // namespace

ThreadTransfer TfmMain::runTransfer(TransferView &view, LineTrace *trace, const ThreadJob &job)
{
    // The window is disabled while a transfer runs; nothing starts a second one meanwhile.
    if (transferRunning_ || benchRunning_)
        return {{TransferResult::Busy, -1, {}}, {}, {}};
    const QScopedValueRollback running(transferRunning_, true);
    return runOnOwnThread(job, view, trace);
}

void TfmMain::EnumerateComPorts()
{
    cboCOM->addItems(systemPortNames(settingsFilePath(programDirectory())));
    cboCOM->setCurrentIndex(cboCOM->count() > 0 ? 0 : -1);
}

void TfmMain::listPortsOnce()
{
    if (portsListed_)
        return;
    portsListed_ = true;
    cboCOM->clear();
    EnumerateComPorts();
}

void TfmMain::mnuRefreshPortsClick()
{
    portsListed_ = true;
    const QString selected = cboCOM->currentIndex() < 0 ? QString() : cboCOM->currentText();
    const QStringList names = systemPortNames(settingsFilePath(programDirectory()));
    cboCOM->clear();
    cboCOM->addItems(names);
    const int kept = static_cast<int>(names.indexOf(selected));
    cboCOM->setCurrentIndex(kept >= 0 ? kept : (cboCOM->count() > 0 ? 0 : -1));
}

QString TfmMain::traceFolder() const
{
    return programDirectory_ + QStringLiteral("/traces");
}

void TfmMain::mnuRecordLineTraceClick()
{
    recordLineTrace_ = mnuRecordLineTrace->isChecked();
    QString why;
    if (!writeTransmitterChoice(settingsFilePath(programDirectory_), LineTraceKey, recordLineTrace_,
                                &why))
        choiceNotKept(why);
}

void TfmMain::choiceNotKept(const QString &why)
{
    if (choiceWarned_ || quitting())
        return;
    choiceWarned_ = true;
    dialogs_.warn(
        QStringLiteral("The choice cannot be kept in %1: %2. It holds until the program ends.")
            .arg(QDir::toNativeSeparators(settingsFilePath(programDirectory_)), why));
}

QString TfmMain::stopNoteForTrace(TransferCommand command, const TransferOutcome &outcome) const
{
    return stopSignal_ == 0 ? QString()
                            : stoppedRunNote(command, outcome, stopSignalName(stopSignal_));
}

void TfmMain::mnuReadClick()
{
    // A Read replaces the table: edits that are in no file and no transmitter are asked
    // about first.
    if (!commitPendingEdit() || !askToKeepEdits())
        return;
    listPortsOnce();
    clearStopRequest();
    WindowTransferView view(*this);
    CommandTrace trace(recordLineTrace_, traceFolder(), view.selectedPortName());
    view.setNote(trace.note());
    const ThreadTransfer read = runTransfer(view, trace.line(), reading());
    trace.addLine(stopNoteForTrace(view.command(), read.outcome));
    const QString traceNote = trace.end();
    if (!read.outcome) {
        endTransferCommand({});
        return;
    }
    // A blank transmitter's zeros would replace the register words and, at close, the
    // settings file: the window keeps what it holds.
    const bool blank = read.table.holdsNoSettings();
    if (!blank) {
        table_.takeImage(read.table.buildImage());
        RefreshControls();
        recordEdit(QStringLiteral("Read"));
        markTableSaved();
    }
    endTransferCommand(paragraphs(
        {outcomeBoxText(TransferCommand::Read, read.outcome),
         blank ? QStringLiteral("The transmitter holds no settings. The window keeps its table.")
               : QString(),
         traceNote}));
}

void TfmMain::mnuWriteClick()
{
    listPortsOnce();
    clearStopRequest();
    WindowTransferView view(*this);
    CommandTrace trace(recordLineTrace_, traceFolder(), view.selectedPortName());
    view.setNote(trace.note());
    const ThreadTransfer written = runTransfer(
        view, trace.line(), writing(table_, backUpBeforeWriting_ ? backupFolder() : QString()));
    trace.addLine(stopNoteForTrace(TransferCommand::Write, written.outcome));
    const QString traceNote = trace.end();
    if (!written.outcome) {
        endTransferCommand({});
        return;
    }
    markTableSaved();
    endTransferCommand(
        paragraphs({outcomeBoxText(TransferCommand::Write, written.outcome),
                    written.backupFile.isEmpty()
                        ? QString()
                        : QStringLiteral("What the transmitter held before is kept in %1.")
                              .arg(QDir::toNativeSeparators(written.backupFile)),
                    traceNote}));
}

QString TfmMain::backupFolder() const
{
    return programDirectory_ + QStringLiteral("/backups");
}

void TfmMain::mnuBackUpBeforeWritingClick()
{
    backUpBeforeWriting_ = mnuBackUpBeforeWriting->isChecked();
    QString why;
    if (!writeBackupBeforeWrite(settingsFilePath(programDirectory_), backUpBeforeWriting_, &why))
        choiceNotKept(why);
}

void TfmMain::mnuCompareClick()
{
    // A value being typed is part of what the window holds.
    if (!commitPendingEdit())
        return;
    listPortsOnce();
    clearStopRequest();
    WindowTransferView view(*this);
    view.setComparing();
    const QString port = view.selectedPortName();
    CommandTrace trace(recordLineTrace_, traceFolder(), port);
    view.setNote(trace.note());
    const ThreadTransfer read = runTransfer(view, trace.line(), reading());
    trace.addLine(stopNoteForTrace(view.command(), read.outcome));
    const QString traceNote = trace.end();
    if (!read.outcome) {
        endTransferCommand({});
        return;
    }
    const QList<Difference> d = settingDifferences(table_, read.table, synth_.state());
    ReportRequest report = differencesReport(
        QStringLiteral("Compare"),
        d.isEmpty() ? QStringLiteral("The transmitter holds the same settings.")
                    : differSummary(d.size(), QStringLiteral("the transmitter on %1").arg(port)),
        d, QStringLiteral("Transmitter"), QStringLiteral("transmitter on %1").arg(port));
    if (!traceNote.isEmpty())
        report.summary = traceNote + u'\n' + report.summary;
    if (!quitting())
        dialogs_.report(report);
    endTransferCommand({});
}

} // namespace rw
