// SPDX-License-Identifier: GPL-3.0-or-later
#include "transmittercommands.h"

#include "blockprotocol.h"
#include "link/line/commport.h"
#include "link/line/stoprequest.h"
#include "link/ports/portopenreason.h"
#include "model/settingstable.h"
#include "transferview.h"

#include <QElapsedTimer>
#include <QScopedValueRollback>
#include <QThread>

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
        portFailure_ = portFailureMessage(e);
        view_.portFailed(portFailure_);
        return false;
    }
}

// What a failed step of block `block` means: a stop that cut the wait short, a port that
// never opened, the port's own failure, or the protocol's `result`.
TransferOutcome TransmitterCommands::failure(TransferResult result, int block, bool portOpened,
                                             const BlockProtocol &protocol) const
{
    if (stopRequested())
        return {TransferResult::Stopped, block, {}};
    if (!portOpened)
        return {TransferResult::PortNotOpened, -1, {}};
    if (!portFailure_.isEmpty())
        return {result, block, portFailure_};
    const BlockProtocol::Fault &f = protocol.lastFault();
    return {result, block, {}, f.kind, f.arrived, f.expected};
}

void TransmitterCommands::closePort()
{
    port_.Close();
}

// A stop does not stop the transmitter: it finishes the reply under way, and those bytes
// must not reach the next command as the start of its first reply. They are let in and
// dropped until the line has been quiet for a while, within a reply's time at most.
void TransmitterCommands::drainReplyUnderWay()
{
    constexpr int QuietMs = 30;
    // A whole read reply takes 75 ms at 19200 baud: until then its rest may still be on
    // its way even when the line has been quiet for a moment.
    constexpr int LeastMs = 100;
    constexpr int MostMs = 150;
    try {
        QElapsedTimer since;
        since.start();
        qint64 lastBytes = 0;
        const auto mayStillCome = [&] {
            return since.elapsed() < LeastMs || since.elapsed() - lastBytes < QuietMs;
        };
        while (port_.IsOpen() && mayStillCome() && since.elapsed() < MostMs) {
            port_.TakePending();
            if (port_.BytesAvailable() > 0) {
                port_.Purge();
                lastBytes = since.elapsed();
            }
            QThread::msleep(5);
        }
    } catch (const ECommError &) {
        // The line is gone: nothing more can arrive.
    }
}

TransferOutcome TransmitterCommands::Write(const SettingsTable &table)
{
    if (busy_)
        return {TransferResult::Busy, -1, {}};
    QScopedValueRollback busy(busy_, true);
    portFailure_.clear();

    if (!port_.IsOpen())
        OpenSelectedPort(port_, view_);
    const bool opened = port_.IsOpen();
    view_.setWindowEnabled(false);
    view_.setStatusText(WriteStartText);
    view_.setProgressRange(0, WriteProgressMaximum);
    const QByteArray image = table.buildImage();
    BlockProtocol protocol(port_, clock_, view_);
    for (int offset = 0; offset < ImageSize; offset += TransferBlockSize) {
        const int block = offset / TransferBlockSize;
        if (stopRequested())
            return endStopped(TransferCommand::Write, block);
        const uint16_t address = blockAddress(offset);
        view_.setStatusText(WriteBlockText);
        if (!attempt([&] { return protocol.WriteBlock(image, address, TransferBlockSize); }))
            return endWriteWithError(
                failure(TransferResult::WriteRejected, block, opened, protocol));
        if (!attempt([&] { return protocol.VerifyBlock(image, address, TransferBlockSize); }))
            return endWriteWithError(
                failure(TransferResult::VerifyFailed, block, opened, protocol));
        view_.setProgressPosition(offset + TransferBlockSize);
    }
    view_.setProgressPosition(0);
    closePort();
    view_.setWindowEnabled(true);
    view_.setStatusText(ReadyText);
    const TransferOutcome done;
    view_.commandEnded(TransferCommand::Write, done);
    return done;
}

// Intended: a failed Write warns before it closes the port, a failed Read closes the port
// first (endReadWithError); the two orders differ on purpose.
TransferOutcome TransmitterCommands::endWriteWithError(const TransferOutcome &outcome)
{
    if (outcome.result == TransferResult::Stopped)
        return endStopped(TransferCommand::Write, outcome.block);
    view_.commandEnded(TransferCommand::Write, outcome);
    view_.setStatusText(ReadyText);
    closePort();
    view_.setProgressPosition(0);
    view_.setWindowEnabled(true);
    return outcome;
}

TransferOutcome TransmitterCommands::Read(SettingsTable &table)
{
    if (busy_)
        return {TransferResult::Busy, -1, {}};
    QScopedValueRollback busy(busy_, true);
    portFailure_.clear();

    if (!port_.IsOpen())
        OpenSelectedPort(port_, view_);
    const bool opened = port_.IsOpen();
    view_.setWindowEnabled(false);
    view_.setProgressRange(0, ReadProgressMaximum);
    view_.setStatusText(ReadStartText);
    // Blocks gather here; the table sees them only when all sixteen arrived intact.
    QByteArray received(ImageSize, '\0');
    BlockProtocol protocol(port_, clock_, view_);
    for (int offset = 0; offset < ImageSize; offset += TransferBlockSize) {
        const int block = offset / TransferBlockSize;
        if (stopRequested())
            return endStopped(TransferCommand::Read, block);
        const uint16_t address = blockAddress(offset);
        if (!attempt([&] { return protocol.ReadBlock(received, address, TransferBlockSize); }))
            return endReadWithError(failure(TransferResult::ReadFailed, block, opened, protocol));
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
    const TransferOutcome done;
    view_.commandEnded(TransferCommand::Read, done);
    return done;
}

TransferOutcome TransmitterCommands::endReadWithError(const TransferOutcome &outcome)
{
    if (outcome.result == TransferResult::Stopped)
        return endStopped(TransferCommand::Read, outcome.block);
    closePort();
    view_.commandEnded(TransferCommand::Read, outcome);
    view_.setStatusText(ReadyText);
    view_.setProgressPosition(0);
    view_.setWindowEnabled(true);
    return outcome;
}

// A stopped run ends as a failed one does; whether it is told in a box is the view's
// choice (the command line's user knows; the window says what it means for the transmitter).
TransferOutcome TransmitterCommands::endStopped(TransferCommand command, int block)
{
    drainReplyUnderWay();
    closePort();
    view_.setStatusText(ReadyText);
    view_.setProgressPosition(0);
    view_.setWindowEnabled(true);
    const TransferOutcome stopped{TransferResult::Stopped, block, {}};
    view_.commandEnded(command, stopped);
    return stopped;
}

} // namespace rw
