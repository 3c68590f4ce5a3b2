// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Table files as the command line opens them: with the window's reading rules, and an error
// naming the file when it cannot be read.

#include "model/settingstable.h"

#include <QString>
#include <optional>

namespace rw::cli {

std::optional<SettingsTable> openTable(const QString &path);

} // namespace rw::cli
