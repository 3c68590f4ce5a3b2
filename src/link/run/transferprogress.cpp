// SPDX-License-Identifier: GPL-3.0-or-later
#include "transferprogress.h"

#include <algorithm>

namespace rw {

QString transferProgressText(TransferCommand command, int blocksDone, qint64 elapsedMs)
{
    const int done = std::clamp(blocksDone, 0, TransferBlockCount - 1);
    const QString text = QStringLiteral("%1: block %2 of %3")
                             .arg(transferCommandName(command))
                             .arg(done + 1)
                             .arg(TransferBlockCount);
    if (done == 0)
        return text;
    // The blocks still to come take as long as the ones done, each; whole seconds, rounded up.
    const qint64 leftMs = elapsedMs * (TransferBlockCount - done) / done;
    return text + QStringLiteral(", %1 s left").arg((leftMs + 999) / 1000);
}

QString transferStartedText(TransferCommand command, const QString &port)
{
    return QStringLiteral("%1 started on %2.").arg(transferCommandName(command), port);
}

QString transferQuarterText(TransferCommand command, int blocksDone)
{
    return QStringLiteral("%1: %2 of %3 blocks done.")
        .arg(transferCommandName(command))
        .arg(blocksDone)
        .arg(TransferBlockCount);
}

QString transferEndedText(TransferCommand command, const TransferOutcome &outcome)
{
    return QStringLiteral("%1 ended: %2.")
        .arg(transferCommandName(command), outcomeSummary(command, outcome));
}

} // namespace rw
