// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the status bar says while a command runs: the block under way and the time left
// ("Write: block 5 of 16, 2 s left"), told from the blocks done so far.

#include "link/protocol/transferoutcome.h"

#include <QString>

namespace rw {

// `blocksDone` of the sixteen are through after `elapsedMs`; the block under way is the
// next one. No time left is told before the first block is through.
QString transferProgressText(TransferCommand command, int blocksDone, qint64 elapsedMs);

// What a screen reader is told of a transfer: its start on `port`, each quarter of the
// sixteen blocks ("Write: 8 of 16 blocks done."), and its end with the outcome in a few
// words ("Write ended: written and verified.").
QString transferStartedText(TransferCommand command, const QString &port);
QString transferQuarterText(TransferCommand command, int blocksDone);
QString transferEndedText(TransferCommand command, const TransferOutcome &outcome);

} // namespace rw
