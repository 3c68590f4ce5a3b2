// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A pseudo-terminal whose device a test opens as another program would, and whose other
// side the test drives itself: what it writes there arrives on the device's line.

#include <QByteArray>
#include <QString>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace rw {

struct PseudoTerminal {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    PseudoTerminal()
    {
        if (master >= 0 && (grantpt(master) != 0 || unlockpt(master) != 0)) {
            ::close(master);
            master = -1;
        }
    }
    ~PseudoTerminal()
    {
        if (master >= 0)
            ::close(master);
    }
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    QString device() const { return master >= 0 ? QString::fromLocal8Bit(ptsname(master)) : ""; }
    // Sends bytes to the device, as a transmitter on the line would.
    bool send(const QByteArray &bytes) const
    {
        return ::write(master, bytes.constData(), bytes.size()) == bytes.size();
    }
    // What the device sent, up to `max` bytes (waits for the first).
    QByteArray received(int max = 4096) const
    {
        QByteArray bytes(max, '\0');
        const ssize_t n = ::read(master, bytes.data(), bytes.size());
        bytes.truncate(n < 0 ? 0 : n);
        return bytes;
    }
};

} // namespace rw
