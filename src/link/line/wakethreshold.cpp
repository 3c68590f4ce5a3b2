// SPDX-License-Identifier: GPL-3.0-or-later
#include "wakethreshold.h"

#include <algorithm>

#ifdef Q_OS_UNIX
#include <termios.h>
#endif

namespace rw {

void setWakeThreshold(QSerialPort &serial, int count)
{
#ifdef Q_OS_UNIX
    // Without a read timer (VTIME 0), VMIN is the count that makes a poll report the
    // terminal readable; reads on the non-blocking descriptor still return at once.
    termios t{};
    const int fd = static_cast<int>(serial.handle());
    if (fd < 0 || ::tcgetattr(fd, &t) != 0)
        return;
    const cc_t wanted = static_cast<cc_t>(std::clamp(count, 1, 255));
    if (t.c_cc[VMIN] == wanted && t.c_cc[VTIME] == 0)
        return;
    t.c_cc[VMIN] = wanted;
    t.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &t);
#else
    (void)serial;
    (void)count;
#endif
}

} // namespace rw
