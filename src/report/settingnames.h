// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names by which a script sets a value, with the window's rules and messages: `set`
// takes them as NAME=VALUE and a table document as its top-level names, so a value means
// the same in both and in the window.

#include <QString>
#include <optional>

namespace rw {

class SettingsTable;
class Synthesizer;

// frequency, system-code, baud, range-test, logo, send-twice and message.N (N 1 to 30).
bool isSettingName(const QString &name);

// Applies one value given as text. When it is refused, the message says why (the window's
// own where the window has one) and nothing has changed.
std::optional<QString> applySetting(SettingsTable &table, Synthesizer &synth, const QString &name,
                                    const QString &value);

} // namespace rw
