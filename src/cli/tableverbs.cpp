// SPDX-License-Identifier: GPL-3.0-or-later
// The verbs that work on table files: dump, diff and set (build has its own file).

#include "console.h"
#include "exitstatus.h"
#include "model/fingerprint.h"
#include "model/generalfields.h"
#include "model/settingstable.h"
#include "model/tablefile.h"
#include "model/textrules.h"
#include "report/settingnames.h"
#include "report/settingvalues.h"
#include "report/tabledocument.h"
#include "report/tablereport.h"
#include "synthcontext.h"
#include "tableinput.h"
#include "verbs.h"

#include <cstdio>
#include <optional>

namespace rw::cli {

namespace {

QString dumpText(const SettingsTable &table, const QString &frequency)
{
    QString out;
    out += QStringLiteral("Frequency  %1\n")
               .arg(frequency.isEmpty() ? QStringLiteral("(none)") : frequency + " Hz");
    out += QStringLiteral("Logo       %1\n").arg(quotedText(powLogoText(table)));
    // The fingerprint the settings sheet prints.
    out += QStringLiteral("CRC-32     %1\n\nFields:\n").arg(tableFingerprint(table));
    for (const NamedValue &v : generalFieldValues(table))
        out += QStringLiteral("  %1 %2\n").arg(v.name, -22).arg(v.text);
    out += QStringLiteral("\nMessages:\n");
    const QStringList texts = messageTexts(table);
    for (qsizetype k = 0; k < texts.size(); ++k) {
        out += QStringLiteral("  %1  %2\n").arg(k + 1, 2).arg(escapedText(texts[k]));
    }
    return out;
}

} // namespace

int dumpTable(const Arguments &a)
{
    std::optional<SettingsTable> table = openTable(a.operands.first());
    if (!table)
        return FileError;
    const QString frequency = SynthContext(*table).frequencyText();
    if (a.json) {
        // UTF-8 whatever the system's code page: the document is read back as UTF-8.
        const QByteArray text = writeJson(tableDocument(*table, frequency));
        printBytes(text);
    } else
        printOut(dumpText(*table, frequency));
    return Success;
}

int diffTables(const Arguments &a)
{
    const QString &nameA = a.operands[0];
    const QString &nameB = a.operands[1];
    const std::optional<SettingsTable> tableA = openTable(nameA);
    const std::optional<SettingsTable> tableB = openTable(nameB);
    if (!tableA || !tableB)
        return FileError;
    SettingsTable scratch = *tableA;
    const SynthContext synth(scratch);
    const QList<Difference> d = settingDifferences(*tableA, *tableB, synth.state());
    if (a.json)
        printBytes(writeJson(differencesJson(d, nameA, nameB)));
    else if (!d.isEmpty())
        printOut(differencesText(d, nameA, nameB));
    return d.isEmpty() ? Success : Failed;
}

int setFields(const Arguments &a)
{
    const QString &file = a.operands.first();
    std::optional<SettingsTable> table = openTable(file);
    if (!table)
        return FileError;
    // Every edit on a copy: one refused value leaves the file as it was.
    SettingsTable edited = *table;
    SynthContext synth(edited);
    for (const QString &pair : a.operands.mid(1)) {
        const qsizetype eq = pair.indexOf('=');
        if (eq <= 0) {
            printError(QString(), QStringLiteral("%1 is not NAME=VALUE").arg(pair));
            return UsageError;
        }
        const QString name = pair.left(eq);
        if (!isSettingName(name)) {
            printError(QString(), QStringLiteral("set knows no name %1").arg(name));
            return UsageError;
        }
        if (const auto refusal = applySetting(edited, synth, name, pair.mid(eq + 1))) {
            printError(file, QStringLiteral("%1: %2 (nothing changed)").arg(name, *refusal));
            return Failed;
        }
    }
    const TableSaveResult saved = saveTableFile(file, edited.buildImage());
    if (!saved.ok) {
        printError(file, QStringLiteral("cannot write the table file: %1").arg(saved.error));
        return FileError;
    }
    return Success;
}

} // namespace rw::cli
