// SPDX-License-Identifier: GPL-3.0-or-later
// "Write to Several...": the window's table written to a bench of transmitters at once.

#include "base/settingsfile.h"
#include "base/windowchoices.h"
#include "benchdialog.h"
#include "editors/dialogs.h"
#include "frmmain.h"
#include "link/portlist.h"
#include "link/stoprequest.h"

#include <QScopedValueRollback>
#include <algorithm>

namespace rw {

void TfmMain::mnuWriteToSeveralClick()
{
    // A value being typed is part of the table that is written.
    if (!commitPendingEdit())
        return;
    const QString ini = settingsFilePath(programDirectory_);
    // The ports present now: an adapter plugged in since the start is offered too.
    const QStringList ports = systemPortNames(ini);
    const BenchDialog::Runner run = [this, ini, ports](const QStringList &chosen,
                                                       const BenchDialog::Tick &tick) {
        writeBenchPorts(ini, benchPortsToKeep(readBenchPorts(ini), ports, chosen));
        BenchChoices choices;
        if (backUpBeforeWriting_)
            choices.backupFolder = backupFolder();
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
        return results;
    };
    BenchDialog dialog(ports, readBenchPorts(ini), run, this);
    dialogs_.runDialog(dialog);
}

} // namespace rw
