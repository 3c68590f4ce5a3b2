// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Parts of the command line that come as modules, so that a run which does not need them
// does not load their libraries at its start: "lib/rw830kt/libNAME.so" relative to the
// program's folder, the same in the build folder as installed. A module offers what it
// holds as it loads (a call into the program), and stays loaded.

#include <QString>

namespace rw {

// Loads the module NAME ("rw830kt-network") the first time; empty when it is loaded,
// else why it could not be. Needs the application object (for the program's folder).
QString loadProgramModule(const QString &name);

} // namespace rw
