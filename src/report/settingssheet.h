// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings sheet: one page that a technician files in the site's binder and that the
// next one checks a transmitter against. Everything on it is text made here, from the same
// names and values as the listings (`dump`, `settings`, the differences), so the page that
// draws it (sheet/) only places it.

#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>

namespace rw {

class SettingsTable;
struct SynthState;

struct SheetRow {
    QString label;
    QString value;
};

struct SheetSection {
    QString heading;
    QList<SheetRow> rows;
};

struct SettingsSheet {
    QString title;
    QString program;             // "RW830KT" and the version: in the sheet and its PDF's data
    QList<SheetRow> about;       // the table file, the date, the program
    QList<SheetSection> columns; // side by side: the transmitter's settings, the alerts
    SheetSection messages;       // the thirty canned messages, numbered as in the window
    SheetRow fingerprint;        // the table's CRC-32, as `dump` shows it
    bool letterPaper = false;    // US Letter, else A4
};

// The sheet of `table`; `tableName` names where it comes from (a table file, with or
// without edits), the frequency is shown with the oscillator of `synth`.
SettingsSheet settingsSheet(const SettingsTable &table, const SynthState &synth,
                            const QString &tableName, const QDate &day,
                            const QLocale &locale = QLocale::system());

// True where Letter is the paper on sale (North and Central America, the Philippines, ...).
bool usesLetterPaper(const QLocale &locale);

} // namespace rw
