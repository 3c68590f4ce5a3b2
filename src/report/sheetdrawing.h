// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the settings sheet's PDF is drawn. Drawing needs Qt Gui (its fonts and its PDF
// writer), which the core and the command line do not link: the drawing code offers
// itself as a program that links it starts, or as the command line loads it as a module,
// "lib/rw830kt/librw830kt-sheet.so" beside its own folder, for `sheet` alone.

#include <QByteArray>
#include <QString>

namespace rw {

struct SettingsSheet;

// Draws the sheet as a PDF of one page into `pdf` under a Qt Gui application of its own
// with the offscreen platform: it is called where no application object exists. False,
// with `error` set, when it could not.
using SheetPdfMaker = bool (*)(const SettingsSheet &sheet, QByteArray &pdf, QString &error);

// Called by the drawing code as its program starts or as the module loads.
void offerSheetPdfMaker(SheetPdfMaker maker);

// The drawing, loading the module the first time (which needs the application object);
// null, with `error` set, when it cannot be had.
SheetPdfMaker sheetPdfMaker(QString &error);

} // namespace rw
