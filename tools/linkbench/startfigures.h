// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How soon the window is on the screen: the time from a process's launch to the first
// painted frame of the real main window, started as the program starts it, beside a plain
// Qt Widgets window of the same size, each in a process of its own, taken in turns.

#include <QtGlobal>

// The part's name on the command line of the processes the benchmark starts for it.
inline constexpr const char *FirstFrameChild = "first-frame-child";

// Prints the medians and their ratio; false when a process failed.
bool startFigures();

// In a process the benchmark started at `launchedNs` of the system's monotonic clock: shows
// the window `which` ("window" or "plain"), prints the milliseconds from the launch to its
// first painted frame and ends. The exit status.
int firstFrameChild(const char *which, qint64 launchedNs, int argc, char *argv[]);
