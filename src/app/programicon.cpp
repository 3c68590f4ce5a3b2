// SPDX-License-Identifier: GPL-3.0-or-later
#include "programicon.h"

#include <QDir>

namespace rw {

QIcon programIcon()
{
    QIcon icon;
    const QDir sizes(QStringLiteral(":/icons"), QStringLiteral("rw830kt-*.png"));
    for (const QString &file : sizes.entryList())
        icon.addFile(sizes.filePath(file));
    return icon;
}

} // namespace rw
