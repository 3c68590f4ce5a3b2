// SPDX-License-Identifier: GPL-3.0-or-later
// On Windows the port's own overlapped reads and waits serve the line: there is no
// byte-count threshold to set and no queue to reach past the port, so a waiter looks at
// what has come with the port's own calls, at the same per-byte budgets.
#include "wakethreshold.h"

namespace rw {

void WakeThreshold::set(QSerialPort &, int) {}

qint64 systemBytesWaiting(QSerialPort &)
{
    return -1;
}

qint64 readSystemQueue(QSerialPort &, char *, qint64)
{
    return -1;
}

qint64 writeSystemQueue(QSerialPort &, const char *, qint64)
{
    return -1;
}

LineWait waitForLine(QSerialPort &, bool, int)
{
    return LineWait::Unsupported;
}

} // namespace rw
