// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Wall and CPU time of a piece of work, and how they compare with the line.

#include <QElapsedTimer>
#include <ctime>
#include <functional>

struct Figures {
    double wallSeconds = 0;
    double cpuSeconds = 0; // of the whole process, every thread
};

inline Figures measure(const std::function<void()> &run)
{
    QElapsedTimer wall;
    const std::clock_t cpu = std::clock();
    wall.start();
    run();
    return {wall.nsecsElapsed() / 1e9, double(std::clock() - cpu) / CLOCKS_PER_SEC};
}

// The bytes of a Write and of a Read on the wire, both directions.
int writeWireBytes();
int readWireBytes();

// Seconds the bytes need on the line at `baud`, 10 bits a byte.
inline double wireSeconds(int bytes, int baud)
{
    return bytes * 10.0 / baud;
}

// One line of the report: what ran, its wall time against the wire time, and its CPU.
void report(const char *path, const char *replies, const char *what, const Figures &f, int bytes,
            int baud);
