// SPDX-License-Identifier: GPL-3.0-or-later
// Windows has no stop signals; the console's control events stand for them, each as the
// signal of the same meaning: Ctrl+C as SIGINT (2), Ctrl+Break as SIGBREAK (21), the
// console's close as SIGHUP (1), logoff and shutdown as SIGTERM (15).
#include "stopsignalnames.h"

namespace rw {

QString stopSignalName(int signal)
{
    switch (signal) {
    case 2:
        return QStringLiteral("Ctrl+C");
    case 21:
        return QStringLiteral("Ctrl+Break");
    case 1:
        return QStringLiteral("the console's close");
    case 15:
        return QStringLiteral("logoff or shutdown");
    case 0:
        return {};
    }
    return QStringLiteral("signal %1").arg(signal);
}

QString stopSignalHelpName(int signal)
{
    return stopSignalName(signal);
}

} // namespace rw
