// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's version, from the project version of the build.

#include <QString>

namespace rw {

inline const QString ProgramVersion = QStringLiteral(RW830KT_VERSION);

} // namespace rw
