// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's version, from the project version of the build, and its licence.

#include <QString>

namespace rw {

inline const QString ProgramVersion = QStringLiteral(RW830KT_VERSION);

// What --version prints below the version line.
inline const QString LicenceNotice =
    QStringLiteral("License GPL-3.0-or-later: GNU General Public License, version 3 or later.\n"
                   "This is free software: you are free to change and pass it on.\n"
                   "There is NO WARRANTY, to the extent permitted by law.\n");

} // namespace rw
