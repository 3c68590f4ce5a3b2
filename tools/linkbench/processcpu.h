// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The CPU of whole rw830kt-cli processes against Qt's own start on this machine, now:
// what a byte-paced Write adds to the program's start and end, and what that start costs
// beside a bare Qt program. Prints both; false when a run failed.
bool processCpuFigures();
