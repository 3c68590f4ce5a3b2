// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where rw830kt-cli writes: results to standard output, errors to standard error, each
// error naming the port or file it is about.

#include <QString>

namespace rw::cli {

void printOut(const QString &text); // as it stands; add the line end yourself
void printError(const QString &subject, const QString &text); // "rw830kt-cli: SUBJECT: TEXT"
// True when standard output is a terminal a progress bar can be drawn on.
bool outputIsTerminal();

} // namespace rw::cli
