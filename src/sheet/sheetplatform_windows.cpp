// SPDX-License-Identifier: GPL-3.0-or-later
// On Windows the offscreen platform looks for fonts only in Qt's own folder; the Windows
// platform takes the system's, and a console program may use it without showing a window.
#include "sheetplatform.h"

namespace rw {

const char *sheetPlatform()
{
    return "windows";
}

} // namespace rw
