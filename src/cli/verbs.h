// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The verbs of rw830kt-cli; each returns the program's exit status.

#include "arguments.h"

namespace rw::cli {

int listPorts(const Arguments &a);
int readTransmitter(const Arguments &a);
int writeTransmitters(const Arguments &a);
int verifyTransmitter(const Arguments &a);
int dumpTable(const Arguments &a);
int diffTables(const Arguments &a);
int setFields(const Arguments &a);
int buildTable(const Arguments &a);
int listSettings(const Arguments &a);

} // namespace rw::cli
