// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's icon, built into the program in the sizes a desktop asks for.

#include <QIcon>

namespace rw {

QIcon programIcon();

} // namespace rw
