// SPDX-License-Identifier: GPL-3.0-or-later
// "Write to Several...": the window's table written to a bench of transmitters at once.

#include "base/settingsfile.h"
#include "base/stopsignalnames.h"
#include "base/windowchoices.h"
#include "benchdialog.h"
#include "editors/dialogs.h"
#include "frmmain.h"
#include "link/line/stoprequest.h"

#include <QComboBox>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>
#include <algorithm>

namespace rw {

void TfmMain::mnuWriteToSeveralClick()
{
    // A value being typed is part of the table that is written.
    if (!commitPendingEdit())
        return;
    // The ports present now: an adapter plugged in since the start is offered too.
    mnuRefreshPortsClick();
    QStringList ports;
    for (int i = 0; i < cboCOM->count(); ++i)
        ports << cboCOM->itemText(i);
    const QString ini = settingsFilePath(programDirectory_);
    BenchDialog *shown = nullptr;
    const BenchDialog::Runner run = [this, ini, ports, &shown](const QStringList &chosen,
                                                               const BenchDialog::Tick &tick) {
        if (QString why;
            !writeBenchPorts(ini, benchPortsToKeep(readBenchPorts(ini), ports, chosen), &why))
            choiceNotKept(why);
        BenchChoices choices;
        if (backUpBeforeWriting_)
            choices.backupFolder = backupFolder();
        if (recordLineTrace_)
            choices.traceFolder = traceFolder();
        choices.stoppedBy = [this] { return stopSignalName(stopSignal_); };
        const QScopedValueRollback running(benchRunning_, true);
        setInputEnabled(false);
        clearStopRequest();
        const QList<BenchPortResult> results = writeBench(chosen, table_, choices, tick);
        clearStopRequest();
        setInputEnabled(true);
        // The table is now held by a transmitter, as after a single Write.
        if (std::any_of(results.begin(), results.end(),
                        [](const BenchPortResult &r) { return r.outcome.ok(); }))
            markTableSaved();
        // The window is closing (its close box, a signal): the dialog goes with it.
        if (quitting())
            QTimer::singleShot(0, shown, &QDialog::reject);
        return results;
    };
    BenchDialog dialog(ports, readBenchPorts(ini), run, this);
    shown = &dialog;
    // It opens at the size it was left at, within the screen.
    const QSize kept = readBenchSize(ini);
    if (kept.isValid())
        dialog.resize(kept.boundedTo(screen()->availableSize()));
    dialogs_.runDialog(dialog);
    if (dialog.size() != (kept.isValid() ? kept : BenchDialog::DefaultSize) && !quitting())
        writeBenchSize(ini, dialog.size()); // a size not kept costs nothing: no word of it
    endTransferCommand(QString());
}

} // namespace rw
