// SPDX-License-Identifier: GPL-3.0-or-later
#include "transferoutcome.h"

namespace rw {

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

} // namespace rw
