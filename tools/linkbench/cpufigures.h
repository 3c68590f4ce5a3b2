// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// CPU time per byte-paced Write, each the median of several runs with their spread: through
// the core, as a whole rw830kt-cli process, through the window, and 64 ports at once from
// the command line; beside the line time. False when a transfer failed.

bool cpuFigures();
