// SPDX-License-Identifier: GPL-3.0-or-later
#include "tracefile.h"

namespace rw {

bool openTraceFile(QFile &file, const QString &path, QString &error)
{
    // A named pipe is opened here like a file: its server is there when the name is.
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace rw
