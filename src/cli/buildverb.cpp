// SPDX-License-Identifier: GPL-3.0-or-later
// build: a table file from a JSON document, over a base table, all or nothing.

#include "base/settingsfile.h"
#include "console.h"
#include "exitstatus.h"
#include "model/settingstable.h"
#include "model/tablefile.h"
#include "model/textrules.h"
#include "report/tabledocument.h"
#include "synth/startingtable.h"
#include "tableinput.h"
#include "verbs.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdio>

namespace rw::cli {

namespace {

// A hand-written table document is a few kilobytes; anything far larger is not one.
constexpr qint64 DocumentSizeLimit = 4 * 1024 * 1024;

const QString StandardStream = QStringLiteral("-");

// Until the end of the input or a byte past the limit: a pipe hands over what has come so
// far, and a writer that pauses (a slow network, a shell's `sleep`) has not ended. `read`
// gives the next piece: empty at the end, nullopt on failure.
template <typename Read> std::optional<QByteArray> readWhole(Read read, bool &tooLarge)
{
    QByteArray text;
    while (text.size() <= DocumentSizeLimit) {
        const std::optional<QByteArray> piece = read(DocumentSizeLimit + 1 - text.size());
        if (!piece)
            return std::nullopt;
        if (piece->isEmpty())
            break;
        text += *piece;
    }
    tooLarge = text.size() > DocumentSizeLimit;
    return text;
}

std::optional<QByteArray> readDocument(const QString &name, bool &tooLarge)
{
    // Standard input as the C library reads it: Qt's file on a standard stream does not
    // take every kind of pipe on every system.
    if (name == StandardStream) {
        return readWhole(
            [](qint64 max) -> std::optional<QByteArray> {
                QByteArray piece(std::min<qint64>(max, 65536), Qt::Uninitialized);
                piece.truncate(static_cast<qsizetype>(
                    std::fread(piece.data(), 1, static_cast<size_t>(piece.size()), stdin)));
                if (piece.isEmpty() && std::ferror(stdin))
                    return std::nullopt;
                return piece;
            },
            tooLarge);
    }
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readWhole(
        [&f](qint64 max) -> std::optional<QByteArray> {
            const QByteArray piece = f.read(max);
            if (f.error() != QFileDevice::NoError)
                return std::nullopt;
            return piece;
        },
        tooLarge);
}

} // namespace

int buildTable(const Arguments &a)
{
    const QString &source = a.operands.first();
    const QString shownSource = source == StandardStream ? QStringLiteral("<stdin>") : source;
    bool tooLarge = false;
    const std::optional<QByteArray> document = readDocument(source, tooLarge);
    if (!document) {
        printError(shownSource, QStringLiteral("cannot read this document"));
        return FileError;
    }
    if (tooLarge) {
        printError(
            shownSource,
            QStringLiteral("larger than %1 bytes: not a table document").arg(DocumentSizeLimit));
        return UsageError;
    }

    const QString folder = QDir::currentPath();
    // Without a base, the table the window starts with here; what reading the settings
    // file reports is told once, by the document's own reading below.
    SettingsTable edited;
    if (a.base.isEmpty()) {
        loadStartingTable(edited, folder);
    } else {
        std::optional<SettingsTable> base = openTable(a.base);
        if (!base)
            return FileError;
        edited = *base;
    }
    const DocumentOutcome outcome = applyTableDocument(*document, edited, folder);
    if (outcome.settings.outcome != SynthLoadResult::Outcome::Complete)
        printError(settingsFilePath(folder), QString(outcome.settings.message).replace('\n', ' '));
    for (const DocumentProblem &p : outcome.problems)
        printError(
            QStringLiteral("%1:%2:%3").arg(shownSource).arg(p.place.line).arg(p.place.column),
            p.text);
    if (!outcome.applied()) {
        printError(shownSource, QStringLiteral("nothing written"));
        return outcome.unreadable() ? UsageError : Failed;
    }

    const QByteArray image = edited.buildImage();
    if (a.output == StandardStream) {
        if (!printBytes(image)) {
            printError(QStringLiteral("<stdout>"), QStringLiteral("cannot write the table"));
            return FileError;
        }
        return Success;
    }
    const TableSaveResult saved = saveTableFile(a.output, image);
    if (!saved.ok) {
        printError(a.output, QStringLiteral("cannot write the table file: %1").arg(saved.error));
        return FileError;
    }
    if (!a.quiet)
        printOut(QStringLiteral("%1: built from %2\n")
                     .arg(escapedControls(a.output), escapedControls(shownSource)));
    return Success;
}

} // namespace rw::cli
