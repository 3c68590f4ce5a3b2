// SPDX-License-Identifier: GPL-3.0-or-later
// On Linux the offscreen platform needs no display and takes its fonts from fontconfig.
#include "sheetplatform.h"

namespace rw {

const char *sheetPlatform()
{
    return "offscreen";
}

} // namespace rw
