// SPDX-License-Identifier: GPL-3.0-or-later
#include "stopsignalnames.h"

namespace rw {

int stoppedExitStatus(int signal)
{
    return 128 + signal;
}

} // namespace rw
