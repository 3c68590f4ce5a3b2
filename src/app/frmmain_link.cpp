// SPDX-License-Identifier: GPL-3.0-or-later
// The transmitter link's part of the window: the port list, Read and Write.

#include "base/settingsfile.h"
#include "editors/dialogs.h"
#include "frmmain.h"
#include "link/commport.h"
#include "link/portlist.h"
#include "link/transferview.h"
#include "link/transmittercommands.h"
#include "link/waitclock.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>

namespace rw {

namespace {

// The window as the Read and Write commands see it.
class WindowTransferView : public TransferView {
public:
    explicit WindowTransferView(TfmMain &window) : w_(window) {}

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
    void showTable() override { w_.RefreshControls(); }

private:
    TfmMain &w_;
};

} // namespace

void TfmMain::EnumerateComPorts()
{
    cboCOM->addItems(systemPortNames(settingsFilePath(programDirectory())));
    cboCOM->setCurrentIndex(cboCOM->count() > 0 ? 0 : -1);
}

void TfmMain::mnuReadClick()
{
    WindowTransferView view(*this);
    TransmitterCommands(TCommPort::instance(), view, WaitClock::standard()).Read(table_);
}

void TfmMain::mnuWriteClick()
{
    WindowTransferView view(*this);
    TransmitterCommands(TCommPort::instance(), view, WaitClock::standard()).Write(table_);
}

} // namespace rw
