// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheetdrawing.h"

#include "base/programmodule.h"

#include <atomic>

namespace rw {

namespace {

std::atomic<SheetPdfMaker> offered{nullptr};

} // namespace

void offerSheetPdfMaker(SheetPdfMaker maker)
{
    offered.store(maker);
}

SheetPdfMaker sheetPdfMaker(QString &error)
{
    if (!offered.load()) {
        error = loadProgramModule(QStringLiteral("rw830kt-sheet"));
        if (!error.isEmpty()) {
            error = QStringLiteral("the settings sheet needs the program's sheet module, which "
                                   "could not be loaded: %1")
                        .arg(error);
            return nullptr;
        }
        if (!offered.load()) {
            error = QStringLiteral("the sheet module offers no drawing");
            return nullptr;
        }
    }
    return offered.load();
}

} // namespace rw
