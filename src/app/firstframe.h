// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Work that can wait until a window is on the screen: it runs once the window's first frame
// has been painted, so that starting the program shows the window first.

#include <functional>

class QWidget;

namespace rw {

// Runs `then` once, right after the first frame of `window` (shown, or about to be shown)
// is painted; never when the window goes before that.
void afterFirstFrame(QWidget &window, std::function<void()> then);

} // namespace rw
