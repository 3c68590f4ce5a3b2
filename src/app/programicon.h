// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's icon, built into the program in the sizes a desktop asks for. Each size is
// decoded the first time it is asked for, and only once, whichever copy of the icon asks:
// the window's start decodes none of them where the window system wants no icon.

#include <QIcon>

namespace rw {

QIcon programIcon();

// How many of the built-in pictures have been decoded so far.
int programIconPicturesDecoded();

} // namespace rw
