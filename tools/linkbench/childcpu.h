// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CPU a whole child process used, as the system accounts it once the child has ended.

#include <QString>
#include <QStringList>

// CPU seconds of one run of `program` with `args`, user and system; negative when it did
// not end with status 0.
double cpuOfRun(const QString &program, const QStringList &args);
