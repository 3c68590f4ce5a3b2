// SPDX-License-Identifier: GPL-3.0-or-later
#include "stopsignalnames.h"

#include <csignal>

namespace rw {

QString stopSignalName(int signal)
{
    switch (signal) {
    case SIGINT:
        return QStringLiteral("SIGINT");
    case SIGTERM:
        return QStringLiteral("SIGTERM");
#ifdef SIGHUP
    case SIGHUP:
        return QStringLiteral("SIGHUP");
#endif
    case 0:
        return {};
    }
    return QStringLiteral("signal %1").arg(signal);
}

int stoppedExitStatus(int signal)
{
    return 128 + signal;
}

} // namespace rw
