// SPDX-License-Identifier: GPL-3.0-or-later
#include "pseudoterminal.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::~PseudoTerminal()
{
    hangUp();
}

bool PseudoTerminal::open(QString *why)
{
    auto fail = [why](const char *step) {
        *why = QStringLiteral("%1: %2").arg(step, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    };
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0)
        return fail("posix_openpt");
    if (grantpt(master_) != 0 || unlockpt(master_) != 0)
        return fail("grantpt/unlockpt");
    const char *name = ptsname(master_);
    if (!name)
        return fail("ptsname");
    path_ = QString::fromLocal8Bit(name);
    keepOpen_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (keepOpen_ < 0)
        return fail("open slave");
    // No echo, no line editing, no character translation: bytes pass as they are.
    termios tio{};
    if (tcgetattr(keepOpen_, &tio) != 0)
        return fail("tcgetattr");
    cfmakeraw(&tio);
    if (tcsetattr(keepOpen_, TCSANOW, &tio) != 0)
        return fail("tcsetattr");
    return true;
}

void PseudoTerminal::hangUp()
{
    if (keepOpen_ >= 0)
        ::close(keepOpen_);
    if (master_ >= 0)
        ::close(master_);
    keepOpen_ = master_ = -1;
}
