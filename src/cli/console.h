// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where rw830kt-cli writes: results to standard output, errors to standard error, each
// error naming the port or file it is about. A write that fails (a full disk, a closed
// pipe) never stops the program: it is remembered, and the program's exit status tells it.

#include <QByteArray>
#include <QString>

namespace rw::cli {

// As it stands; add the line end yourself. A name or text from outside (a port, a file, a
// system's description of a device) goes in through escapedControls(), as on standard
// error, so that nothing from outside moves or recolours the screen or forges a line.
void printOut(const QString &text);
// Bytes as they are (a table image, a UTF-8 document); false when they could not be written.
bool printBytes(const QByteArray &bytes);
// "rw830kt-cli: SUBJECT: TEXT" on one line: every control character a file name, a value
// or an argument brought in is shown escaped, a line break too.
void printError(const QString &subject, const QString &text);
// The same for a report of several lines from the core (a port's opening failure with its
// reason), whose own line breaks stay; the core has escaped the names it put into it.
void printReport(const QString &subject, const QString &text);

// What differs between a POSIX terminal and a Windows console (one file per system):
// Readies the standard streams: a reader that goes away (| head) must never stop a
// transfer, and a table written to standard output must arrive byte for byte.
void prepareConsole();
// Text as the console takes it: the system's encoding on Linux, UTF-8 on Windows.
QByteArray consoleText(const QString &text);
// True when standard output is a terminal a progress bar can be drawn on.
bool outputIsTerminal();

// Whether a write to standard output or standard error has failed so far.
bool outputFailed();
// The exit status once everything has been written: a result the user could not be
// shown (0 or 1) becomes 3, with a message where standard error still works; flushes
// standard output and standard error first.
int statusAfterOutput(int status);

} // namespace rw::cli
