// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Table files as the command line opens them: with the window's reading rules, and an error
// naming the file when it cannot be read.

#include "model/settingstable.h"

#include <QString>
#include <optional>

namespace rw::cli {

// How long a table file may be: any length, padded or cut as the window opens it, or
// exactly the 2048 bytes of a table (what is sent to a transmitter).
enum class TableLength { Any, Whole };

std::optional<SettingsTable> openTable(const QString &path, TableLength length = TableLength::Any);

} // namespace rw::cli
