// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's command line: one optional table file to open at start, the program
// directory when it is not the current folder, --help and --version. Help and version are answered
// before any display is opened, so they work on a machine without one.

#include <QString>
#include <QStringList>

namespace rw {

class TfmMain;

struct WindowCommandLine {
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::Run;
    QString tableFile;     // empty: the window starts with the built-in table
    QString programFolder; // empty: the current folder is the program directory
    QString error;         // for UsageError
};

// Reads the arguments after the program name. Help wins over version, both over a
// usage error, so "--help" answers whatever else is given; "--" ends the options.
WindowCommandLine parseWindowArguments(const QStringList &args);

QString windowUsageText();
QString windowVersionText();

// Opens the table file given on the command line as File, Open does, once the window is
// up and its Show sequence has run (a refused file then gets its box over the window).
void openWhenShown(TfmMain &window, const QString &tableFile);

} // namespace rw
