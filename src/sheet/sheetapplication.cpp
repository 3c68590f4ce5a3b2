// SPDX-License-Identifier: GPL-3.0-or-later
// Offers the drawing of the settings sheet's PDF to the core: as a program that links it
// in starts, or as the command line loads it as a module. The command line has no Gui
// application object, so the drawing makes one of its own, on a platform that needs no
// display and lays text out with the system's fonts (sheetplatform.h).

#include "report/sheetdrawing.h"
#include "sheetpage.h"
#include "sheetplatform.h"

#include <QGuiApplication>

namespace {

// Qt's own remarks while a display-less application starts (no runtime folder, and the
// like) are no part of the command line's output.
void quietly(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg)
        qt_message_output(type, {}, message);
}

bool makeSheetPdf(const rw::SettingsSheet &sheet, QByteArray &pdf, QString &error)
{
    static char name[] = "rw830kt-cli";
    static char platformOption[] = "-platform";
    char *argv[] = {name, platformOption, const_cast<char *>(rw::sheetPlatform()), nullptr};
    int argc = 3;
    const QtMessageHandler before = qInstallMessageHandler(quietly);
    {
        QGuiApplication app(argc, argv);
        pdf = rw::sheetPdf(sheet);
    }
    qInstallMessageHandler(before);
    if (pdf.isEmpty())
        error = QStringLiteral("the PDF could not be drawn");
    return !pdf.isEmpty();
}

[[maybe_unused]] const bool offered = (rw::offerSheetPdfMaker(makeSheetPdf), true);

} // namespace
