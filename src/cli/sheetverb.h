// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// sheet: the settings sheet of a table file as a PDF of one page. Its drawing runs under a
// Gui application object of its own (for the fonts), which cannot live beside the command
// line's: the verb first makes everything else while the command line's application
// object exists (the table read, the sheet's text, the drawing code loaded), and draws and
// writes once that object is gone.

#include "arguments.h"
#include "report/settingssheet.h"
#include "report/sheetdrawing.h"

#include <optional>

namespace rw::cli {

struct SheetJob {
    SettingsSheet sheet;
    QString output; // the PDF file, or "-" for standard output
    SheetPdfMaker make = nullptr;
};

// Everything but the drawing; the exit status of a failure, else Success with `job` set.
int prepareSheet(const Arguments &a, std::optional<SheetJob> &job);

// Draws the sheet and writes it; called where no application object exists.
int drawSheet(const SheetJob &job);

} // namespace rw::cli
