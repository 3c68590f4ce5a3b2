// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Qt platform the command line draws a settings sheet on (one file per system): one
// that needs no display and finds the system's fonts, so that the PDF's text is there.

namespace rw {

const char *sheetPlatform();

} // namespace rw
