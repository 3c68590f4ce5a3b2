// SPDX-License-Identifier: GPL-3.0-or-later
#include "tableinput.h"

#include "console.h"
#include "model/tablefile.h"

namespace rw::cli {

std::optional<SettingsTable> openTable(const QString &path, TableLength length)
{
    QString reason;
    qint64 size = 0;
    const std::optional<QByteArray> area = readTableFile(path, &reason, &size);
    if (!area) {
        printError(path, QStringLiteral("cannot read this table file: %1").arg(reason));
        return std::nullopt;
    }
    if (length == TableLength::Whole) {
        if (const auto refusal = tableLengthRefusal(size)) {
            printError(path, QStringLiteral("%1 Nothing was written (--pad writes it as the "
                                            "window opens it).")
                                 .arg(*refusal));
            return std::nullopt;
        }
    }
    SettingsTable table;
    table.takeImage(*area);
    return table;
}

} // namespace rw::cli
