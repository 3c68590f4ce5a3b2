// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's line within a Write: the simulator stamps every turnaround (from a reply's
// last byte to the next request), and the benchmark prints their median and the worst of
// each Write through the real main window, as the machine is and with two CPU-bound
// processes beside it; beside the same Writes on a port's own thread of the parallel
// runner, as rw830kt-cli makes them. False when a Write failed.

bool windowLineFigures();
