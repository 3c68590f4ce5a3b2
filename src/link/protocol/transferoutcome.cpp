// SPDX-License-Identifier: GPL-3.0-or-later
#include "transferoutcome.h"

#include "blockprotocol.h"

namespace rw {

QString transferCommandName(TransferCommand command)
{
    switch (command) {
    case TransferCommand::Read:
        break;
    case TransferCommand::Write:
        return QStringLiteral("Write");
    case TransferCommand::Compare:
        return QStringLiteral("Compare");
    }
    return QStringLiteral("Read");
}

QString outcomeBoxText(TransferCommand command, const TransferOutcome &outcome)
{
    const bool write = command == TransferCommand::Write;
    switch (outcome.result) {
    case TransferResult::Success:
        return write ? QStringLiteral("Write Success !") : QStringLiteral("Read Success !");
    case TransferResult::VerifyFailed:
        return QStringLiteral("Verify Error !");
    case TransferResult::Stopped:
    case TransferResult::Busy:
    case TransferResult::BackupFailed: // its own box has said why
        return {};
    case TransferResult::PortNotOpened:
    case TransferResult::WriteRejected:
    case TransferResult::ReadFailed:
        break;
    }
    // A port that did not open ends the command as its first failing block.
    return write ? QStringLiteral("Write Error !") : QStringLiteral("Read Error !");
}

QString outcomeSummary(TransferCommand command, const TransferOutcome &outcome)
{
    const QString block = QString::number(outcome.block + 1);
    switch (outcome.result) {
    case TransferResult::Success:
        if (command == TransferCommand::Compare)
            return QStringLiteral("read and compared");
        return command == TransferCommand::Write ? QStringLiteral("written and verified")
                                                 : QStringLiteral("read");
    case TransferResult::PortNotOpened:
        return QStringLiteral("the port could not be opened");
    case TransferResult::WriteRejected:
        return QStringLiteral("write failed at block %1").arg(block);
    case TransferResult::VerifyFailed:
        return QStringLiteral("verify failed at block %1").arg(block);
    case TransferResult::ReadFailed:
        return QStringLiteral("read failed at block %1").arg(block);
    case TransferResult::Stopped:
        return outcome.block < 0 ? QStringLiteral("stopped before the first block")
                                 : QStringLiteral("stopped during block %1").arg(block);
    case TransferResult::Busy:
        return QStringLiteral("not started: another transfer is under way");
    case TransferResult::BackupFailed:
        return QStringLiteral("not written: no backup was kept");
    }
    return {};
}

namespace {

// How long the transmitter has for a reply byte, in whole seconds, as a person reads it.
int replyBudgetSeconds(TransferCommand command)
{
    const int step = command == TransferCommand::Write ? AckPollStep : ReadPollStep;
    return (WaitsPerByte + 1) * step / 100;
}

QString stoppedText(TransferCommand command, int block)
{
    const QString name = transferCommandName(command);
    if (block < 0)
        return QStringLiteral("%1 stopped before the first block: nothing was changed.").arg(name);
    const QString where = QStringLiteral("%1 stopped during block %2 of %3")
                              .arg(name)
                              .arg(block + 1)
                              .arg(TransferBlockCount);
    if (command != TransferCommand::Write)
        return where + QStringLiteral(": nothing was changed.");
    return where + QStringLiteral(": the transmitter now holds part of the new settings; write "
                                  "it again before use.");
}

// A Write that failed at `block` has written the blocks before it; the failing one may
// have been stored without its answer coming back.
QString partlyWrittenText(int block)
{
    const QString where =
        QStringLiteral("The Write ended at block %1 of %2").arg(block + 1).arg(TransferBlockCount);
    if (block <= 0)
        return where + QStringLiteral(": the transmitter may hold part of the new settings; "
                                      "write it again before use.");
    return where + QStringLiteral(": the transmitter now holds part of the new settings; write "
                                  "it again before use.");
}

QString replyCause(TransferCommand command, const TransferOutcome &o, const QString &port)
{
    const QString block = QStringLiteral("block %1 of %2").arg(o.block + 1).arg(TransferBlockCount);
    switch (o.fault) {
    case ReplyFault::NoAnswer:
        if (o.block <= 0)
            return QStringLiteral("The transmitter on %1 did not answer within %2 s. Check that "
                                  "it is switched on and in programming mode, and that the "
                                  "cable is in %1.")
                .arg(port)
                .arg(replyBudgetSeconds(command));
        return QStringLiteral("The transmitter on %1 stopped answering at %2 (nothing within %3 "
                              "s). Check the cable and the transmitter's power, then try again.")
            .arg(port, block)
            .arg(replyBudgetSeconds(command));
    case ReplyFault::ShortReply:
        return QStringLiteral("The transmitter on %1 sent only %2 of the %3 reply bytes for %4. "
                              "Check the cable and that no other program uses %1, then try "
                              "again.")
            .arg(port)
            .arg(o.replyBytes)
            .arg(o.replyExpected)
            .arg(block);
    case ReplyFault::WrongReply:
        return QStringLiteral("The transmitter on %1 did not accept %2: its reply was not the "
                              "acknowledgement expected. Check that it is in programming mode, "
                              "then try again.")
            .arg(port, block);
    case ReplyFault::BadChecksum:
        return QStringLiteral("%1 from the transmitter on %2 arrived with a wrong checksum: the "
                              "line garbled it. Check the cable, then try again.")
            .arg(block.left(1).toUpper() + block.mid(1), port);
    case ReplyFault::Mismatch:
        return QStringLiteral("%1 read back from the transmitter on %2 differs from what was "
                              "written: the transmitter did not keep it. Write again; when it "
                              "fails at the same block again, the transmitter needs service.")
            .arg(block.left(1).toUpper() + block.mid(1), port);
    case ReplyFault::None:
        break;
    }
    return {};
}

} // namespace

QString outcomeCause(TransferCommand command, const TransferOutcome &outcome, const QString &port)
{
    switch (outcome.result) {
    case TransferResult::Success:
    case TransferResult::PortNotOpened:
    case TransferResult::Busy:
        return {};
    case TransferResult::BackupFailed: // its own box has said why
        return {};
    case TransferResult::Stopped:
        return stoppedText(command, outcome.block);
    case TransferResult::WriteRejected:
    case TransferResult::VerifyFailed:
    case TransferResult::ReadFailed:
        break;
    }
    // The port's own failure (an unplugged adapter, a network server's reason) says more
    // than what was missing from the reply.
    const QString cause =
        outcome.detail.isEmpty() ? replyCause(command, outcome, port) : outcome.detail;
    if (command != TransferCommand::Write)
        return cause;
    return cause.isEmpty() ? partlyWrittenText(outcome.block)
                           : cause + u' ' + partlyWrittenText(outcome.block);
}

QString outcomeBoxWithCause(TransferCommand command, const TransferOutcome &outcome,
                            const QString &port)
{
    const QString first = outcomeBoxText(command, outcome);
    const QString cause = outcomeCause(command, outcome, port);
    if (first.isEmpty() || cause.isEmpty())
        return first.isEmpty() ? cause : first;
    return first + QStringLiteral("\n\n") + cause;
}

} // namespace rw
