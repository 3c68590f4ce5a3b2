// SPDX-License-Identifier: GPL-3.0-or-later
// The verbs that work on table files: dump, diff and set.

#include "console.h"
#include "exitstatus.h"
#include "messages/messagerecord.h"
#include "model/editrules.h"
#include "model/generalfields.h"
#include "model/settingstable.h"
#include "model/tablefile.h"
#include "synthcontext.h"
#include "tableinput.h"
#include "report/tablereport.h"
#include "verbs.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <optional>

namespace rw::cli {

namespace {

QString dumpText(const SettingsTable &table, const QString &frequency)
{
    QString out;
    out += QStringLiteral("Frequency  %1\n")
               .arg(frequency.isEmpty() ? QStringLiteral("(none)") : frequency + " Hz");
    out += QStringLiteral("Logo       \"%1\"\n\nFields:\n").arg(powLogoText(table));
    for (const NamedValue &v : generalFieldValues(table))
        out += QStringLiteral("  %1 %2\n").arg(v.name, -22).arg(v.text);
    out += QStringLiteral("\nMessages:\n");
    const QStringList texts = messageTexts(table);
    for (qsizetype k = 0; k < texts.size(); ++k) {
        QString shown = texts[k];
        shown.replace('\r', QStringLiteral("\\r")).replace('\n', QStringLiteral("\\n"));
        out += QStringLiteral("  %1  %2\n").arg(k + 1, 2).arg(shown);
    }
    return out;
}

QJsonObject dumpJson(const SettingsTable &table, const QString &frequency)
{
    QJsonObject fields;
    for (const NamedValue &v : generalFieldValues(table))
        fields.insert(v.name, v.json);
    QJsonArray messages;
    for (const QString &m : messageTexts(table))
        messages.append(m);
    return {{"fields", fields},
            {"frequency_hz", frequency.isEmpty() ? QJsonValue() : QJsonValue(frequency.toDouble())},
            {"logo", powLogoText(table)},
            {"messages", messages}};
}

// The names set knows: message.N takes N from 1 to 30.
bool knownSettingName(const QString &name)
{
    static const QStringList names{"frequency",  "system-code", "baud",
                                   "range-test", "logo",        "send-twice"};
    if (names.contains(name))
        return true;
    if (!name.startsWith("message."))
        return false;
    bool ok = false;
    const int n = name.mid(8).toInt(&ok);
    return ok && n >= 1 && n <= MessageCount;
}

// One NAME=VALUE of set, applied to the table; the window's message when refused.
std::optional<QString> applySetting(SettingsTable &table, SynthContext &synth, const QString &name,
                                    const QString &value)
{
    auto refusal = [](const EditResult &r) {
        return r.stored() ? std::nullopt : std::optional<QString>(r.message);
    };
    auto numeric = [&](Field f) { return refusal(applyNumberText(table, f, value)); };
    if (name == "frequency")
        return refusal(synth.enterFrequency(value));
    if (name == "system-code")
        return numeric(Field::SysCode);
    if (name == "range-test")
        return numeric(Field::RangeTestDur);
    if (name == "baud") {
        static const QStringList rates{"512", "1200", "2400"}; // the list's items, in order
        const qsizetype index = rates.indexOf(value.trimmed());
        if (index < 0)
            return QStringLiteral("The baud rate is 512, 1200 or 2400.");
        table.setValue(Field::POCBaud, static_cast<uint32_t>(index));
        return std::nullopt;
    }
    if (name == "send-twice") {
        if (value != "0" && value != "1")
            return QStringLiteral("send-twice is 0 or 1.");
        table.setValue(Field::SendTwice, value == "1" ? 1 : 0);
        return std::nullopt;
    }
    if (name == "logo") {
        constexpr int LogoLimit = 21; // what the window's logo edit takes
        if (value.size() > LogoLimit)
            return QStringLiteral("The logo takes at most %1 characters.").arg(LogoLimit);
        storePowLogo(table, value);
        return std::nullopt;
    }
    if (name.startsWith("message.")) {
        const int n = name.mid(8).toInt();
        QByteArray record = table.messageRecord(n - 1);
        if (!storeMessage(record, value))
            return MessageTooLongText;
        table.setMessageRecord(n - 1, record);
        return std::nullopt;
    }
    return QStringLiteral("unknown name");
}

} // namespace

int dumpTable(const Arguments &a)
{
    std::optional<SettingsTable> table = openTable(a.operands.first());
    if (!table)
        return FileError;
    const QString frequency = SynthContext(*table).frequencyText();
    if (a.json)
        printOut(QString::fromUtf8(QJsonDocument(dumpJson(*table, frequency)).toJson()));
    else
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
    const QList<Difference> d = tableDifferences(*tableA, *tableB);
    if (a.json)
        printOut(QString::fromUtf8(QJsonDocument(differencesJson(d, nameA, nameB)).toJson()));
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
        if (!knownSettingName(name)) {
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
