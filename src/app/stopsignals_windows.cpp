// SPDX-License-Identifier: GPL-3.0-or-later
// A window program on Windows has no console and gets no console events; Windows stops it
// through its close box or the session's end, which Qt turns into the window's close.
#include "stopsignals.h"

namespace rw {

void onStopSignals(QObject &, std::function<void(int)>) {}

} // namespace rw
