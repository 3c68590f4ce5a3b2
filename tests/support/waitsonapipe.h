// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether a process sleeps in a read of a pipe: it has taken everything written to it so
// far and waits for more. Lets a test feed a program in pieces and know that the first
// piece was read on its own, without guessing how long that takes. (Linux: what the
// kernel says the process sleeps in.)

#include <QFile>
#include <QString>

inline bool waitsOnAPipe(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/wchan").arg(pid));
    return f.open(QIODevice::ReadOnly) && f.readAll().endsWith("pipe_read");
}
