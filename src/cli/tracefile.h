// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opening the file of --trace: it must never hold the program up before the port is
// touched, so a FIFO nobody reads is refused instead of waited for.

#include <QFile>
#include <QString>

namespace rw::cli {

// Opens `path` for writing, created or emptied, without waiting for a reader. False, with
// `error` set to the reason, when it cannot be opened.
bool openTraceFile(QFile &file, const QString &path, QString &error);

} // namespace rw::cli
