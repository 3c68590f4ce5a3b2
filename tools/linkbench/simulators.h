// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Transmitter simulators for the benchmark: real processes on pseudo-terminals, paced at
// the line's speed.

#include <QProcess>
#include <QStringList>
#include <memory>
#include <vector>

class Simulators {
public:
    // Starts `count` simulators at `baud`, handing replies over `chunk` bytes at a time,
    // each with the `extra` arguments. False when one did not come up.
    bool start(int count, int baud, int chunk, const QStringList &extra = {});
    ~Simulators();

    const QStringList &devices() const { return devices_; }

private:
    std::vector<std::unique_ptr<QProcess>> processes_;
    QStringList devices_;
};
