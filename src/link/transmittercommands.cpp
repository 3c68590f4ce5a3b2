// SPDX-License-Identifier: GPL-3.0-or-later
#include "transmittercommands.h"

#include "blockprotocol.h"
#include "commport.h"
#include "model/settingstable.h"
#include "portopenreason.h"
#include "transferview.h"

#include <QScopedValueRollback>

namespace rw {

namespace {

uint16_t blockAddress(int offset)
{
    return static_cast<uint16_t>(TransmitterBaseAddress + offset);
}

} // namespace

void OpenSelectedPort(TCommPort &port, TransferView &view)
{
    const QString name = view.selectedPortName();
    if (name.isEmpty()) {
        view.plainMessage(QStringLiteral("Error opening comm port. No serial port is selected."));
        return;
    }
    try {
        port.Connect(TransmitterBaudRate, name, TransmitterLineFormat);
        port.Purge();
    } catch (const ECommError &e) {
        QString text = e.Code == OpenFailed
                           ? QStringLiteral("Error opening comm port. Port already in use?")
                           : QStringLiteral("Error opening comm port.");
        // The words above cover every cause; the system usually knows the real one.
        const QString reason = portOpenReason(name, e);
        if (!reason.isEmpty())
            text += QStringLiteral("\n\n") + reason;
        view.plainMessage(text);
        port.Close();
    }
}

QString portFailureMessage(const ECommError &e)
{
    QString text = QStringLiteral("The serial port stopped working during the transfer");
    if (!e.Detail.isEmpty())
        text += QStringLiteral(" (%1)").arg(e.Detail);
    return text + QStringLiteral(". Check the cable and the serial adapter.");
}

TransmitterCommands::TransmitterCommands(TCommPort &port, TransferView &view,
                                         const WaitClock &clock)
    : port_(port), view_(view), clock_(clock)
{
}

template <typename Step> bool TransmitterCommands::attempt(Step step)
{
    try {
        return step();
    } catch (const ECommError &e) {
        view_.warn(portFailureMessage(e));
        return false;
    }
}

void TransmitterCommands::closePort()
{
    port_.Close();
}

bool TransmitterCommands::Write(const SettingsTable &table)
{
    if (busy_)
        return false;
    QScopedValueRollback busy(busy_, true);

    if (!port_.IsOpen())
        OpenSelectedPort(port_, view_);
    view_.setWindowEnabled(false);
    view_.setStatusText(WriteStartText);
    view_.setProgressRange(0, WriteProgressMaximum);
    const QByteArray image = table.buildImage();
    BlockProtocol protocol(port_, clock_, view_);
    for (int offset = 0; offset < ImageSize; offset += TransferBlockSize) {
        const uint16_t address = blockAddress(offset);
        view_.setStatusText(WriteBlockText);
        if (!attempt([&] { return protocol.WriteBlock(image, address, TransferBlockSize); })) {
            endWriteWithError(QStringLiteral("Write Error !"));
            return false;
        }
        if (!attempt([&] { return protocol.VerifyBlock(image, address, TransferBlockSize); })) {
            endWriteWithError(QStringLiteral("Verify Error !"));
            return false;
        }
        view_.setProgressPosition(offset + TransferBlockSize);
    }
    view_.setProgressPosition(0);
    closePort();
    view_.setWindowEnabled(true);
    view_.setStatusText(ReadyText);
    view_.warn(QStringLiteral("Write Success !"));
    return true;
}

// Intended: a failed Write warns before it closes the port, a failed Read closes the port
// first (endReadWithError); the two orders differ on purpose.
void TransmitterCommands::endWriteWithError(const QString &message)
{
    view_.warn(message);
    view_.setStatusText(ReadyText);
    closePort();
    view_.setProgressPosition(0);
    view_.setWindowEnabled(true);
}

bool TransmitterCommands::Read(SettingsTable &table)
{
    if (busy_)
        return false;
    QScopedValueRollback busy(busy_, true);

    if (!port_.IsOpen())
        OpenSelectedPort(port_, view_);
    view_.setWindowEnabled(false);
    view_.setProgressRange(0, ReadProgressMaximum);
    view_.setStatusText(ReadStartText);
    // Blocks gather here; the table sees them only when all sixteen arrived intact.
    QByteArray received(ImageSize, '\0');
    BlockProtocol protocol(port_, clock_, view_);
    for (int offset = 0; offset < ImageSize; offset += TransferBlockSize) {
        const uint16_t address = blockAddress(offset);
        if (!attempt([&] { return protocol.ReadBlock(received, address, TransferBlockSize); })) {
            endReadWithError();
            return false;
        }
        view_.setProgressPosition(offset + TransferBlockSize);
    }
    // Intended: 256 and then 0, as the transmitter's own program has always done.
    view_.setProgressPosition(256);
    view_.setProgressPosition(0);
    table.takeImage(received);
    closePort();
    view_.showTable();
    view_.setWindowEnabled(true);
    view_.setStatusText(ReadyText);
    view_.warn(QStringLiteral("Read Success !"));
    return true;
}

void TransmitterCommands::endReadWithError()
{
    closePort();
    view_.warn(QStringLiteral("Read Error !"));
    view_.setStatusText(ReadyText);
    view_.setProgressPosition(0);
    view_.setWindowEnabled(true);
}

} // namespace rw
