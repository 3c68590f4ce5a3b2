// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names by which a script sets a value, with the window's rules and messages: `set`
// takes them as NAME=VALUE and a table document as its top-level names, so a value means
// the same in both and in the window. The names and what each takes are the settings
// catalogue's offered entries.

#include <QString>
#include <optional>

namespace rw {

class SettingsTable;
class Synthesizer;

bool isSettingName(const QString &name);

// Applies one value given as text. When it is refused, the message says why (the window's
// own where the window has one) and nothing has changed.
std::optional<QString> applySetting(SettingsTable &table, Synthesizer &synth, const QString &name,
                                    const QString &value);

} // namespace rw
