// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings sheet on paper: its text placed on one page with Qt's painter, for a
// printer or a PDF. Needs Qt Gui and a Gui application object (for the fonts); what the
// sheet says is made in the core (report/settingssheet.h).

#include "report/settingssheet.h"

#include <QByteArray>
#include <QPageLayout>
#include <QRectF>

class QPainter;

namespace rw {

// A4 or Letter, portrait, with margins of 15 mm.
QPageLayout sheetPageLayout(const SettingsSheet &sheet);

// Draws the sheet into `area` (in the painter's device units), in the largest type up to
// 10 points with which all of it fits.
void paintSheet(QPainter &painter, const QRectF &area, const SettingsSheet &sheet);

// The sheet as a PDF of one page, its text selectable and searchable; empty when the
// PDF could not be drawn.
QByteArray sheetPdf(const SettingsSheet &sheet);

} // namespace rw
