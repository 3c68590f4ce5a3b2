// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rules by which the settings editors change the table: which numbers each numeric
// field accepts, the exact message for a refused one, and how an accepted one is stored.
// The window and the command line both apply them, so a value means the same in both.

#include "fieldlayout.h"

#include <QString>

namespace rw {

class SettingsTable;

struct EditResult {
    enum class Status {
        Stored,
        NotANumber, // `message` is the conversion error
        Refused,    // `message` is the field's own refusal
    };
    Status status = Status::Stored;
    QString message;

    bool stored() const { return status == Status::Stored; }
};

// True for the fields edited as a number: SysCode, RangeTestDur, HeartBeat, FlashLen, the
// four alert lengths and the function-bit lengths.
bool isNumericField(Field f);

// What a numeric field accepts, in words ("0, or 10 to 240 seconds"): what a screen reader
// says about its edit. Empty for a field that is not numeric.
QString acceptedValuesText(Field f);
// A numeric field's value as the table holds it, `shown` as its edit shows it: "stored:
// 30 seconds", "stored: 0007". What a screen reader hears once the edit has emptied
// itself for typing.
QString storedValueText(Field f, const QString &shown);

// Stores v into a numeric field when the field accepts it. SysCode is stored as four
// digits with leading zeros (7 as "0007"), every other field as its number.
EditResult applyNumber(SettingsTable &table, Field f, qint32 v);
// The same for a typed text, blanks around it removed; text that is not a signed 32-bit
// decimal number is refused with the conversion error. An empty text is not a number:
// the window never gets here with one (it re-shows the stored value instead).
EditResult applyNumberText(SettingsTable &table, Field f, const QString &text);

} // namespace rw
