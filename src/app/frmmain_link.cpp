// SPDX-License-Identifier: GPL-3.0-or-later
// The transmitter link's part of the window: the port list, Read, Write (with the backup
// of what it replaces, when asked for) and Compare.

#include "base/settingsfile.h"
#include "base/windowchoices.h"
#include "editors/dialogs.h"
#include "frmmain.h"
#include "link/commport.h"
#include "link/portlist.h"
#include "link/transferview.h"
#include "link/transmitterbackup.h"
#include "link/transmittercommands.h"
#include "link/waitclock.h"
#include "model/settingstable.h"
#include "report/tablereport.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>

namespace rw {

namespace {

// The window as the Read and Write commands see it.
class WindowTransferView : public TransferView {
public:
    // `showsTable`: a Read into the window's own table re-shows every control when it
    // succeeds; a Read into a table of its own (Compare, a backup) leaves them alone.
    explicit WindowTransferView(TfmMain &window, bool showsTable = true)
        : w_(window), showsTable_(showsTable)
    {
    }

    void setStatusText(const QString &text) override { w_.StatusPanel1->setText(text); }
    void setProgressRange(int minimum, int maximum) override { w_.PB1->setRange(minimum, maximum); }
    void setProgressPosition(int position) override
    {
        // The bar ignores values beyond its range; a full bar is what such a position means.
        w_.PB1->setValue(qBound(w_.PB1->minimum(), position, w_.PB1->maximum()));
    }
    void repaintProgress() override { w_.PB1->repaint(); }
    void setWindowEnabled(bool enabled) override { w_.setInputEnabled(enabled); }
    void warn(const QString &text) override { w_.dialogs().warn(text); }
    void plainMessage(const QString &text) override { w_.dialogs().plain(text); }
    QString selectedPortName() const override
    {
        const int index = w_.cboCOM->currentIndex();
        return index < 0 ? QString() : w_.cboCOM->itemText(index);
    }
    void showTable() override
    {
        if (showsTable_)
            w_.RefreshControls();
    }

private:
    TfmMain &w_;
    bool showsTable_;
};

} // namespace

void TfmMain::EnumerateComPorts()
{
    cboCOM->addItems(systemPortNames(settingsFilePath(programDirectory())));
    cboCOM->setCurrentIndex(cboCOM->count() > 0 ? 0 : -1);
}

void TfmMain::mnuReadClick()
{
    // A Read replaces the table: edits that are in no file and no transmitter are asked
    // about first.
    if (!commitPendingEdit() || !askToKeepEdits())
        return;
    WindowTransferView view(*this);
    if (TransmitterCommands(TCommPort::instance(), view, WaitClock::standard()).Read(table_))
        markTableSaved();
}

void TfmMain::mnuWriteClick()
{
    bool written = false;
    if (backUpBeforeWriting_) {
        WindowTransferView view(*this, false);
        written = writeWithBackup(TCommPort::instance(), view, WaitClock::standard(), table_,
                                  backupFolder())
                      .ok();
    } else {
        WindowTransferView view(*this);
        written = TransmitterCommands(TCommPort::instance(), view, WaitClock::standard())
                      .Write(table_)
                      .ok();
    }
    if (written)
        markTableSaved();
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
    WindowTransferView view(*this, false);
    const QString port = view.selectedPortName();
    SettingsTable received;
    if (!TransmitterCommands(TCommPort::instance(), view, WaitClock::standard()).Read(received))
        return;
    const QList<Difference> d = settingDifferences(table_, received, synth_.state());
    ReportRequest report;
    report.caption = QStringLiteral("Compare");
    if (d.isEmpty()) {
        report.summary = QStringLiteral("The transmitter holds the same settings.");
        report.plainText = report.summary + u'\n';
    } else {
        report.summary =
            d.size() == 1
                ? QStringLiteral("One setting differs from the transmitter on %1:").arg(port)
                : QStringLiteral("%1 settings differ from the transmitter on %2:")
                      .arg(d.size())
                      .arg(port);
        report.columns = QStringList{QStringLiteral("Setting"), QStringLiteral("Window"),
                                     QStringLiteral("Transmitter")};
        for (const Difference &x : d)
            report.rows.append(QStringList{x.label, x.a, x.b});
        report.plainText =
            differencesText(d, QStringLiteral("window"),
                            QStringLiteral("transmitter on %1").arg(port), DifferenceNames::Labels);
    }
    dialogs_.report(report);
}

} // namespace rw
