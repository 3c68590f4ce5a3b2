// SPDX-License-Identifier: GPL-3.0-or-later
#include "transferprogress.h"

#include <algorithm>

namespace rw {

QString transferProgressText(TransferCommand command, int blocksDone, qint64 elapsedMs)
{
    const int done = std::clamp(blocksDone, 0, TransferBlockCount - 1);
    const QString text = QStringLiteral("%1: block %2 of %3")
                             .arg(command == TransferCommand::Write ? QStringLiteral("Write")
                                                                    : QStringLiteral("Read"))
                             .arg(done + 1)
                             .arg(TransferBlockCount);
    if (done == 0)
        return text;
    // The blocks still to come take as long as the ones done, each; whole seconds, rounded up.
    const qint64 leftMs = elapsedMs * (TransferBlockCount - done) / done;
    return text + QStringLiteral(", %1 s left").arg((leftMs + 999) / 1000);
}

} // namespace rw
