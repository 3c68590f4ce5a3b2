// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why a serial port could not be opened, and what the user can do about it: the port is
// not there, the user may not open it (and which group to join), or another program has
// it (and which one, where the system tells). Both the window and the command line show
// it after their "Error opening comm port." text. One file per system.

#include <QString>

namespace rw {

struct ECommError;

// The reason and its remedy, in sentences for the user, for a port whose open failed
// with `failure`; where nothing more is known, the system's own words from the failure.
// The port's name is shown with its control characters escaped.
QString portOpenReason(const QString &portName, const ECommError &failure);

} // namespace rw
