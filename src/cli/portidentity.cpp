// SPDX-License-Identifier: GPL-3.0-or-later
#include "portidentity.h"

namespace rw::cli {

std::optional<QString> samePortTwice(const QStringList &ports)
{
    QStringList keys;
    for (const QString &port : ports) {
        const QString key = deviceKey(port);
        if (const qsizetype earlier = keys.indexOf(key); earlier >= 0)
            return QStringLiteral("%1 and %2").arg(ports[earlier], port);
        keys << key;
    }
    return std::nullopt;
}

} // namespace rw::cli
