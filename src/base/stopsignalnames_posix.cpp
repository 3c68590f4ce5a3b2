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
    case SIGHUP:
        return QStringLiteral("SIGHUP");
    case 0:
        return {};
    }
    return QStringLiteral("signal %1").arg(signal);
}

QString stopSignalHelpName(int signal)
{
    return signal == SIGINT ? QStringLiteral("SIGINT (Ctrl+C)") : stopSignalName(signal);
}

} // namespace rw
