// SPDX-License-Identifier: GPL-3.0-or-later
#include "tableinput.h"

#include "console.h"
#include "model/tablefile.h"

namespace rw::cli {

std::optional<SettingsTable> openTable(const QString &path)
{
    QString reason;
    const std::optional<QByteArray> area = readTableFile(path, &reason);
    if (!area) {
        printError(path, QStringLiteral("cannot read this table file: %1").arg(reason));
        return std::nullopt;
    }
    SettingsTable table;
    table.takeImage(*area);
    return table;
}

} // namespace rw::cli
