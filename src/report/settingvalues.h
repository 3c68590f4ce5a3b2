// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A setting of the catalogue as a person reads it: what it accepts, and its value in a
// table. The settings listing, the differences and the window's Compare show these texts;
// text a table holds shows with its control characters escaped, never raw.

#include "model/settingcatalogue.h"

#include <QString>

namespace rw {

class SettingsTable;
struct SynthState;

// "0 to 2000", "0, or 10 to 240", "one of 512, 1200, 2400", ...
QString acceptsText(const SettingEntry &e);

// The value of `e` in `table`: a number, a list's word or item, a flag's 0 or 1, a quoted
// text, the frequency as the window shows it with the oscillator of `synth`, with "Hz"
// ("(none)" when the words describe none). `message` is the index (0 to 29) of a message.
QString settingValueText(const SettingEntry &e, const SettingsTable &table, const SynthState &synth,
                         int message = 0);

// A table's text as the listings show it: in quotes, control characters escaped.
QString quotedText(const QString &text);

} // namespace rw
