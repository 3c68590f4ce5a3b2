// SPDX-License-Identifier: GPL-3.0-or-later
#include "promptwake.h"

#include <windows.h>

namespace rw {

void preferPromptWakeUps()
{
    // Windows runs a woken thread of a higher priority before those of normal priority.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
}

} // namespace rw
