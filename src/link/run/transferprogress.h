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

} // namespace rw
