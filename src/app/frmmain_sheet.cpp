// SPDX-License-Identifier: GPL-3.0-or-later
// The settings sheet on paper: File, Print Settings Sheet (through the print dialog) and
// Export Settings Sheet (a PDF), one page drawn from the window's table.

#include "base/safefile.h"
#include "editors/dialogs.h"
#include "frmmain.h"
#include "model/settingstable.h"
#include "report/settingssheet.h"
#include "sheet/sheetpage.h"

#include <QDate>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPrinter>

namespace rw {

namespace {

QRectF pageArea(const QPrinter &printer)
{
    return QRectF(QPointF(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
}

} // namespace

SettingsSheet TfmMain::windowSheet() const
{
    // What the paper says of its table must be true: a table with edits since its file
    // was opened or saved is not that file's.
    QString name = QStringLiteral("not in a table file");
    if (!currentTableFile_.isEmpty()) {
        name = QDir::toNativeSeparators(currentTableFile_);
        if (table_.buildImage() != fileImage_)
            name += QStringLiteral(", with changes not saved in it");
    }
    return settingsSheet(table_, synth_.state(), name, QDate::currentDate());
}

void TfmMain::mnuPrintSheetClick()
{
    if (!commitPendingEdit())
        return;
    const SettingsSheet sheet = windowSheet();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(sheetPageLayout(sheet));
    printer.setDocName(sheet.title);
    if (!dialogs_.choosePrinter(printer))
        return;
    const QString where = printer.outputFormat() == QPrinter::PdfFormat
                              ? QDir::toNativeSeparators(printer.outputFileName())
                              : printer.printerName();
    QPainter painter;
    if (!painter.begin(&printer)) {
        dialogs_.warn(QStringLiteral("The settings sheet could not be printed: %1 cannot be used.")
                          .arg(where));
        return;
    }
    paintSheet(painter, pageArea(printer), sheet);
    if (!painter.end()) {
        dialogs_.warn(QStringLiteral("The settings sheet could not be printed on %1.").arg(where));
        return;
    }
    StatusPanel1->setText(QStringLiteral("Settings sheet printed on %1").arg(where));
}

void TfmMain::mnuExportSheetClick()
{
    if (!commitPendingEdit())
        return;
    const QString name =
        dialogs_.saveFileName({programDirectory_, QStringLiteral("PDF files (*.pdf)"), "pdf"});
    if (name.isEmpty())
        return;
    const QByteArray pdf = sheetPdf(windowSheet());
    const WriteOutcome written =
        pdf.isEmpty() ? WriteOutcome{false, QStringLiteral("the PDF could not be drawn")}
                      : writeFileSafely(name, pdf);
    if (!written.ok) {
        dialogs_.fileError(QStringLiteral("The settings sheet cannot be written to %1.\n%2")
                               .arg(QDir::toNativeSeparators(name), written.error));
        return;
    }
    StatusPanel1->setText(
        QStringLiteral("Settings sheet written to %1").arg(QDir::toNativeSeparators(name)));
}

} // namespace rw
