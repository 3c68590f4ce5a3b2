// SPDX-License-Identifier: GPL-3.0-or-later
// The transmitter link's part of the window: the port list, Read, Write (with the backup
// of what it replaces, when asked for) and Compare, each with its line trace when asked
// for, and each ending in one result that says where the files it made went.

#include "base/settingsfile.h"
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
#include "link/run/transmitterbackup.h"
#include "model/settingstable.h"
#include "report/tablereport.h"
#include "windowtransferview.h"

#include <QAction>
#include <QComboBox>
#include <QDir>

namespace rw {

namespace {

// One command's line trace on the window's port, when Record Line Trace is on, and what
// the result box says of it.
class CommandTrace {
public:
    CommandTrace(bool on, const QString &folder, const QString &port)
    {
        if (!on)
            return;
        const QString path = traceFilePath(folder, port);
        QString error;
        if (!QDir().mkpath(folder))
            error = QStringLiteral("the folder %1 cannot be made")
                        .arg(QDir::toNativeSeparators(folder));
        else if (file_.open(path, error))
            TCommPort::instance().setTrace(file_.trace());
        note_ = error.isEmpty()
                    ? QStringLiteral("The line trace is in %1.").arg(QDir::toNativeSeparators(path))
                    : QStringLiteral("No line trace was kept: %1.").arg(error);
    }
    ~CommandTrace() { end(); }
    CommandTrace(const CommandTrace &) = delete;
    CommandTrace &operator=(const CommandTrace &) = delete;

    // The line for the result box while the trace is still being written.
    const QString &note() const { return note_; }
    // Ends the trace; the line for the result box.
    QString end()
    {
        if (!file_.trace())
            return note_;
        TCommPort::instance().setTrace(nullptr);
        QString error;
        if (!file_.close(error))
            note_ = QStringLiteral("The line trace %1 is incomplete: %2")
                        .arg(QDir::toNativeSeparators(file_.path()), error);
        return note_;
    }

private:
    TraceFile file_;
    QString note_;
};

} // namespace

void TfmMain::EnumerateComPorts()
{
    cboCOM->addItems(systemPortNames(settingsFilePath(programDirectory())));
    cboCOM->setCurrentIndex(cboCOM->count() > 0 ? 0 : -1);
}

void TfmMain::mnuRefreshPortsClick()
{
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
    writeTransmitterChoice(settingsFilePath(programDirectory_), LineTraceKey, recordLineTrace_);
}

void TfmMain::mnuReadClick()
{
    // A Read replaces the table: edits that are in no file and no transmitter are asked
    // about first.
    if (!commitPendingEdit() || !askToKeepEdits())
        return;
    clearStopRequest();
    WindowTransferView view(*this);
    CommandTrace trace(recordLineTrace_, traceFolder(), view.selectedPortName());
    view.setNote(trace.note());
    SettingsTable received;
    const TransferOutcome read =
        TransmitterCommands(TCommPort::instance(), view, WaitClock::standard()).Read(received);
    const QString traceNote = trace.end();
    if (!read) {
        endTransferCommand({});
        return;
    }
    // A blank transmitter's zeros would replace the register words and, at close, the
    // settings file: the window keeps what it holds.
    const bool blank = received.holdsNoSettings();
    if (!blank) {
        table_.takeImage(received.buildImage());
        RefreshControls();
        recordEdit(QStringLiteral("Read"));
        markTableSaved();
    }
    endTransferCommand(paragraphs(
        {outcomeBoxText(TransferCommand::Read, read),
         blank ? QStringLiteral("The transmitter holds no settings. The window keeps its table.")
               : QString(),
         traceNote}));
}

void TfmMain::mnuWriteClick()
{
    clearStopRequest();
    WindowTransferView view(*this);
    CommandTrace trace(recordLineTrace_, traceFolder(), view.selectedPortName());
    view.setNote(trace.note());
    QString backup;
    const TransferOutcome written =
        backUpBeforeWriting_
            ? writeWithBackup(TCommPort::instance(), view, WaitClock::standard(), table_,
                              backupFolder(), &backup)
            : TransmitterCommands(TCommPort::instance(), view, WaitClock::standard()).Write(table_);
    const QString traceNote = trace.end();
    if (!written) {
        endTransferCommand({});
        return;
    }
    markTableSaved();
    endTransferCommand(paragraphs(
        {outcomeBoxText(TransferCommand::Write, written),
         backup.isEmpty() ? QString()
                          : QStringLiteral("What the transmitter held before is kept in %1.")
                                .arg(QDir::toNativeSeparators(backup)),
         traceNote}));
}

QString TfmMain::backupFolder() const
{
    return programDirectory_ + QStringLiteral("/backups");
}

void TfmMain::mnuBackUpBeforeWritingClick()
{
    backUpBeforeWriting_ = mnuBackUpBeforeWriting->isChecked();
    writeBackupBeforeWrite(settingsFilePath(programDirectory_), backUpBeforeWriting_);
}

void TfmMain::mnuCompareClick()
{
    // A value being typed is part of what the window holds.
    if (!commitPendingEdit())
        return;
    clearStopRequest();
    WindowTransferView view(*this);
    const QString port = view.selectedPortName();
    CommandTrace trace(recordLineTrace_, traceFolder(), port);
    view.setNote(trace.note());
    SettingsTable received;
    const TransferOutcome read =
        TransmitterCommands(TCommPort::instance(), view, WaitClock::standard()).Read(received);
    const QString traceNote = trace.end();
    if (!read) {
        endTransferCommand({});
        return;
    }
    const QList<Difference> d = settingDifferences(table_, received, synth_.state());
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
