// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingssheet.h"

#include "base/version.h"
#include "model/fingerprint.h"
#include "model/settingcatalogue.h"
#include "model/textrules.h"
#include "settingvalues.h"
#include "tablereport.h"

namespace rw {

namespace {

SheetSection transmitterSection(const SettingsTable &table, const SynthState &synth)
{
    SheetSection s{QStringLiteral("Transmitter"), {}};
    for (const SettingEntry &e : settingCatalogue()) {
        if (e.offered && e.kind != SettingKind::Message)
            s.rows.append({latin1(e.label), settingValueText(e, table, synth)});
    }
    // The synthesizer's register words, as dump shows them.
    for (const NamedValue &v : generalFieldValues(table)) {
        if (v.name.size() == 2 && v.name[0] == u'R')
            s.rows.append({v.name, v.text});
    }
    return s;
}

SheetSection alertSection(const SettingsTable &table, const SynthState &synth)
{
    SheetSection s{QStringLiteral("Alerts"), {}};
    for (const SettingEntry &e : settingCatalogue()) {
        if (!e.offered)
            s.rows.append({latin1(e.label), settingValueText(e, table, synth)});
    }
    return s;
}

} // namespace

SettingsSheet settingsSheet(const SettingsTable &table, const SynthState &synth,
                            const QString &tableName, const QDate &day, const QLocale &locale)
{
    SettingsSheet sheet;
    sheet.title = QStringLiteral("RW830KT settings sheet");
    sheet.program = QStringLiteral("RW830KT ") + ProgramVersion;
    sheet.about = {{QStringLiteral("Table"), escapedControls(tableName)},
                   {QStringLiteral("Date"), day.toString(Qt::ISODate)},
                   {QStringLiteral("Program"), sheet.program}};
    sheet.columns = {transmitterSection(table, synth), alertSection(table, synth)};
    sheet.messages.heading = QStringLiteral("Canned messages");
    const QStringList texts = messageTexts(table);
    for (qsizetype k = 0; k < texts.size(); ++k)
        sheet.messages.rows.append(
            {QStringLiteral("%1").arg(k + 1, 2, 10, QLatin1Char('0')), escapedText(texts[k])});
    sheet.fingerprint = {QStringLiteral("Fingerprint (CRC-32 of the 2048-byte table)"),
                         tableFingerprint(table)};
    sheet.letterPaper = usesLetterPaper(locale);
    return sheet;
}

bool usesLetterPaper(const QLocale &locale)
{
    switch (locale.territory()) {
    case QLocale::UnitedStates:
    case QLocale::Canada:
    case QLocale::Mexico:
    case QLocale::Philippines:
    case QLocale::Chile:
    case QLocale::Colombia:
    case QLocale::Venezuela:
    case QLocale::PuertoRico:
    case QLocale::CostaRica:
    case QLocale::Guatemala:
    case QLocale::Panama:
    case QLocale::ElSalvador:
    case QLocale::DominicanRepublic:
    case QLocale::Nicaragua:
        return true;
    default:
        return false;
    }
}

} // namespace rw
