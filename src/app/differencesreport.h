// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list of differences the window shows: Compare (against the transmitter), Compare
// with File, and what an import of messages would change. The window's value stands
// beside the other's, each setting by the window's label; Ctrl+C copies it as `diff`
// writes it.

#include "editors/dialogs.h"
#include "report/tablereport.h"

namespace rw {

// "One setting differs from OTHER:" or "N settings differ from OTHER:".
QString differSummary(qsizetype count, const QString &other);

// A report of `d` (none: the summary alone) under `summary`; the other table's values are
// in the column titled `otherColumn`, and `otherName` names it in the copied text.
ReportRequest differencesReport(const QString &caption, const QString &summary,
                                const QList<Difference> &d, const QString &otherColumn,
                                const QString &otherName);

} // namespace rw
