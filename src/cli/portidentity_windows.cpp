// SPDX-License-Identifier: GPL-3.0-or-later
#include "portidentity.h"

namespace rw::cli {

// A COM port has one name, in any letter case, with or without the device prefix the port
// opens it under (\\.\COM12).
QString deviceKey(const QString &name)
{
    QString key = name.toUpper();
    if (key.startsWith(QLatin1String("\\\\.\\")))
        key.remove(0, 4);
    return key;
}

} // namespace rw::cli
