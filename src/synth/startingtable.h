// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The table the window starts with in a folder, for every front end that starts from "the
// built-in table": the built-in defaults with the register words packed from the folder's
// settings file (its built-in values when there is none).

#include "synthsettings.h"

#include <QString>

namespace rw {

class SettingsTable;

// Makes `table` the starting table of `folder` and says what reading the settings file
// reported. A value in it that is not a number ends the start-up before the pack, as in
// the window, so the words then stay the built-in ones.
SynthLoadResult loadStartingTable(SettingsTable &table, const QString &folder);

} // namespace rw
