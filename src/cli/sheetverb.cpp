// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheetverb.h"

#include "base/safefile.h"
#include "console.h"
#include "exitstatus.h"
#include "synthcontext.h"
#include "tableinput.h"

#include <QDate>

namespace rw::cli {

int prepareSheet(const Arguments &a, std::optional<SheetJob> &job)
{
    const QString &file = a.operands.first();
    // A PDF that cannot be written is told before anything is drawn.
    if (a.output != QLatin1String("-")) {
        if (const auto refused = replaceRefusal(a.output)) {
            printError(a.output,
                       QStringLiteral("cannot write the settings sheet: %1").arg(*refused));
            return FileError;
        }
    }
    std::optional<SettingsTable> table = openTable(file);
    if (!table)
        return FileError;
    SettingsTable scratch = *table;
    const SynthContext synth(scratch);
    QString error;
    const SheetPdfMaker make = sheetPdfMaker(error);
    if (!make) {
        printError(QString(), error);
        return Failed;
    }
    job =
        SheetJob{settingsSheet(*table, synth.state(), file, QDate::currentDate()), a.output, make};
    return Success;
}

int drawSheet(const SheetJob &job)
{
    QByteArray pdf;
    QString error;
    if (!job.make(job.sheet, pdf, error)) {
        printError(QString(),
                   QStringLiteral("the settings sheet could not be made: %1").arg(error));
        return Failed;
    }
    if (job.output == QLatin1String("-"))
        return printBytes(pdf) ? Success : FileError;
    const WriteOutcome written = writeFileSafely(job.output, pdf);
    if (!written.ok) {
        printError(job.output,
                   QStringLiteral("cannot write the settings sheet: %1").arg(written.error));
        return FileError;
    }
    return Success;
}

} // namespace rw::cli
