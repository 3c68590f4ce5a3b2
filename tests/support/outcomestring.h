// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a failed comparison shows a transfer's outcome.

#include "link/protocol/transferoutcome.h"

#include <QTest>

namespace rw {

inline char *toString(const TransferOutcome &o)
{
    return qstrdup(QStringLiteral("{result %1, block %2, \"%3\", fault %4, %5 of %6}")
                       .arg(static_cast<int>(o.result))
                       .arg(o.block)
                       .arg(o.detail)
                       .arg(static_cast<int>(o.fault))
                       .arg(o.replyBytes)
                       .arg(o.replyExpected)
                       .toUtf8()
                       .constData());
}

} // namespace rw
