// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A table as a JSON document: what `dump --json` writes and `build` reads back.
//
// The complete document names every byte of the table:
//   "frequency_hz"     the carrier the register words give, as the window shows it (null
//                      when it shows none); checked, never applied
//   "logo"             the power-up logo as the window shows it
//   "messages"         the thirty message texts as the window shows them
//   "fields"           every field of the general block by its name, as stored: numbers for
//                      the one- and four-byte fields, the four characters of SysCode, and
//                      lowercase hexadecimal for the opaque, reserved and logo bytes
//   "message_records"  the thirty records as stored: MsgLen, MsgFixedByte, and MsgText and
//                      MsgReserved in hexadecimal
// "fields" and "message_records" are taken as a table file is opened: nothing validated
// beyond each field's width. Each must be whole (every field, every record) or absent.
//
// Every other top-level name is an edit over the table, with the window's rules: the names
// `set` knows (frequency, system-code, baud, range-test, logo, send-twice), "messages" by
// number ({"1": "Call reception"}) or as the list of thirty, and any field name of "fields"
// (a field the window edits takes what its control takes; one it has no control for takes
// any value of its width). A logo or message text that reads as the table already shows it
// changes nothing, so a complete document keeps every byte, odd ones included.

#include "jsontext.h"
#include "synth/synthsettings.h"

#include <QList>
#include <QString>

namespace rw {

class SettingsTable;

// The complete document of a table; `frequency` as the window shows it (empty: none).
JsonNode tableDocument(const SettingsTable &table, const QString &frequency);

struct DocumentProblem {
    enum class Kind {
        Unreadable, // not JSON, or not a table document: an unknown name, a wrong type
        Refused,    // a value the rules refuse
    };
    Kind kind = Kind::Unreadable;
    JsonPlace place;
    QString text;
};

struct DocumentOutcome {
    QList<DocumentProblem> problems; // in the order of the document
    SynthLoadResult settings;        // what reading the synthesizer's settings file reported

    bool applied() const { return problems.isEmpty(); }
    bool unreadable() const;
};

// Applies a document over `table` (the base). The synthesizer settings file of
// `settingsFolder` gives the oscillator for a frequency and for the frequency shown. When
// any problem is found the table may be half changed: apply to a copy and keep it only when
// applied().
DocumentOutcome applyTableDocument(const QByteArray &document, SettingsTable &table,
                                   const QString &settingsFolder);

} // namespace rw
