// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Another program holding a serial port: a child process of the test that opens the port
// the way this program does (lock file and all) and keeps it until the object goes.

#include <QSerialPort>
#include <QString>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace rw {

class PortHeldElsewhere {
public:
    explicit PortHeldElsewhere(const QString &device)
    {
        int ready[2];
        if (pipe(ready) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            QSerialPort port(device);
            const char answer = port.open(QIODevice::ReadWrite) ? 'y' : 'n';
            if (write(ready[1], &answer, 1) != 1)
                _exit(3);
            pause();
            _exit(0);
        }
        ::close(ready[1]);
        char answer = 0;
        holding_ = pid_ > 0 && read(ready[0], &answer, 1) == 1 && answer == 'y';
        ::close(ready[0]);
    }
    ~PortHeldElsewhere()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    PortHeldElsewhere(const PortHeldElsewhere &) = delete;
    PortHeldElsewhere &operator=(const PortHeldElsewhere &) = delete;

    // True once the other process has the port open.
    bool holding() const { return holding_; }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    bool holding_ = false;
};

} // namespace rw
