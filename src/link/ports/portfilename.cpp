// SPDX-License-Identifier: GPL-3.0-or-later
#include "portfilename.h"

#include <QDir>
#include <QFileInfo>

namespace rw {

QString portFileStem(const QString &port)
{
    QString stem = port;
    for (const QString &prefix : {QStringLiteral("/dev/"), QStringLiteral("\\\\.\\")}) {
        if (stem.startsWith(prefix)) {
            stem.remove(0, prefix.size());
            break;
        }
    }
    for (qsizetype i = 0; i < stem.size(); ++i) {
        const QChar c = stem[i];
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                           (c >= u'0' && c <= u'9') || c == u'-' || c == u'_' ||
                           (c == u'.' && i > 0);
        if (!plain)
            stem[i] = u'_';
    }
    return stem.isEmpty() ? QStringLiteral("port") : stem;
}

QString datedPortFilePath(const QString &folder, const QString &port, const QDateTime &when,
                          const QString &suffix)
{
    const QString base = QDir(folder).filePath(portFileStem(port) + u'-' +
                                               when.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString path = base + suffix;
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n)
        path = base + QStringLiteral("-%1").arg(n) + suffix;
    return path;
}

} // namespace rw
