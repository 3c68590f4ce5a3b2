// SPDX-License-Identifier: GPL-3.0-or-later
#include "portidentity.h"

#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>

namespace rw::cli {

// The device number of a device file, else the file itself, else (a name that is not there
// yet) its cleaned-up path. A bare name is opened under /dev, as the serial port does.
QString deviceKey(const QString &name)
{
    const QString path = name.startsWith(u'/') ? name : QStringLiteral("/dev/") + name;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
        if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
            return QStringLiteral("device %1:%2").arg(S_ISCHR(st.st_mode)).arg(st.st_rdev);
        return QStringLiteral("file %1:%2").arg(st.st_dev).arg(st.st_ino);
    }
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return QStringLiteral("path ") + (canonical.isEmpty() ? QDir::cleanPath(path) : canonical);
}

} // namespace rw::cli
