// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every setting a person edits, described once: the name a script gives it, the label the
// window shows beside its control, the field it stores, what it accepts and how the
// window's control takes it. The window fills its lists and limits from here; set, build,
// the settings listing, the completion and the differences read the same entries, so a
// setting changed here changes in every front end. Where the fields lie stays in
// fieldlayout, the one table of offsets.

#include "fieldlayout.h"

#include <QString>
#include <QStringView>
#include <optional>
#include <span>
#include <string_view>

namespace rw {

enum class SettingKind {
    Frequency, // whole hertz, typed; stores the register words R0, R1, R5 and ChanSpacingCode
    Number,    // a number typed into an edit, within its range
    List,      // an item of a drop-down list, stored as its position
    Flag,      // a check box, stored as 0 or 1
    Logo,      // the power-up logo: PowLogoLead, PowLogoLen and PowLogoText
    Message,   // the thirty canned messages, "message.1" to "message.30"
};

struct NumberRange {
    qint32 min = 0;
    qint32 max = 0;
    bool zeroToo = false;     // 0 (disabled) is accepted besides min..max
    std::string_view refusal; // what a refused number is told, in the window and everywhere
    std::string_view unit;    // of the number, where it has one ("seconds")

    bool accepts(qint32 v) const { return (zeroToo && v == 0) || (v >= min && v <= max); }
};

struct SettingEntry {
    std::string_view name;  // for set, build, diff, verify and the completion
    std::string_view label; // the text a person reads beside the window's control
    SettingKind kind;
    Field field = Field::Count; // the field it stores; Count for the frequency and messages
    int editLength = 0;         // characters the window's edit takes; 0: no limit of its own
    NumberRange range;          // Number
    std::span<const std::string_view> items; // List: the window's items, in order
    std::span<const std::string_view> words; // List: what set takes for each item (empty:
                                             // the item itself)
    bool offered = true; // false: on a page whose tab the window hides; set has no name for
                         // it and build takes it by its field name
};

// Every setting, the offered ones first, in the order the settings listing shows them.
std::span<const SettingEntry> settingCatalogue();

// The offered setting a script names, "message.N" (N from 1 to 30) included.
const SettingEntry *settingNamed(QStringView name);
// The setting that stores a field, offered or not; null for the fields nobody edits.
const SettingEntry *settingOfField(Field f);
// N of "message.N" when N is a message's number.
std::optional<int> messageNumber(QStringView name);
// A message as the window's label names it, "Msg # 05" for the fifth (k from 0).
QString messageLabel(int k);

// The fields whose bytes the value of `e` shows: the frequency's register words R0, R1 and
// R5 with the spacing code, the logo's three fields, the one field of any other setting;
// none for the messages, which are records of their own.
bool settingCoversField(const SettingEntry &e, Field f);

// The characters a logo or message takes besides the length: no control character (C0,
// DEL or C1), except the line breaks and tabs of a message. Nullopt when `text` is taken;
// otherwise the refusal, naming the character (escaped, as \x1b) and its position from 1.
std::optional<QString> textCharacterRefusal(const SettingEntry &e, const QString &text);

inline QString latin1(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace rw
