// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// CPU time per byte-paced Write, each the median of several runs with their spread: through
// the core, through the window, and 64 ports at once from the command line; beside the
// line time. False when a transfer failed. (A whole single rw830kt-cli process is in
// processcpu.h.)

bool cpuFigures();
