// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files named after a port and the time they were made: the backups of what a Write
// replaced and the line traces, so that a person finds them by port and by date.

#include <QDateTime>
#include <QString>

namespace rw {

// The port's name as a part of a file name: a leading "/dev/" or "\\.\" goes, and every
// character other than letters, digits, "-" and "_" (a leading "." too) becomes "_".
QString portFileStem(const QString &port);

// "<folder>/<port>-YYYYMMDD-HHMMSS<suffix>"; when that name is taken (two files in one
// second), "-2", "-3", ... before the suffix, so an earlier file is never replaced.
QString datedPortFilePath(const QString &folder, const QString &port, const QDateTime &when,
                          const QString &suffix);

} // namespace rw
