// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The simulator's end of a pseudo-terminal: the program under test opens the device path
// as its serial port, the simulator reads and writes the other side.

#include <QString>

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    // Creates the terminal in raw mode; false with a reason on failure.
    bool open(QString *why);
    // The device path a serial port opens, e.g. /dev/pts/3.
    const QString &devicePath() const { return path_; }
    // The simulator's side, non-blocking.
    int fd() const { return master_; }
    // The device disappears: both sides are closed, an open port on it sees a hang-up.
    void hangUp();

private:
    int master_ = -1;
    // Held open so the simulator's side never sees a hang-up between two commands, when
    // nobody has the port open.
    int keepOpen_ = -1;
    QString path_;
};
