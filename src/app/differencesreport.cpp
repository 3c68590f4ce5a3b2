// SPDX-License-Identifier: GPL-3.0-or-later
#include "differencesreport.h"

namespace rw {

QString differSummary(qsizetype count, const QString &other)
{
    return count == 1 ? QStringLiteral("One setting differs from %1:").arg(other)
                      : QStringLiteral("%1 settings differ from %2:").arg(count).arg(other);
}

ReportRequest differencesReport(const QString &caption, const QString &summary,
                                const QList<Difference> &d, const QString &otherColumn,
                                const QString &otherName)
{
    ReportRequest report;
    report.caption = caption;
    report.summary = summary;
    if (d.isEmpty()) {
        report.plainText = summary + u'\n';
        return report;
    }
    report.columns = QStringList{QStringLiteral("Setting"), QStringLiteral("Window"), otherColumn};
    for (const Difference &x : d)
        report.rows.append(QStringList{x.label, x.a, x.b});
    report.plainText =
        differencesText(d, QStringLiteral("window"), otherName, DifferenceNames::Labels);
    return report;
}

} // namespace rw
