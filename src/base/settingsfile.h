// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's settings file: its name in the program directory and the keys that more
// than one part of the program reads.

#include <QString>

namespace rw {

inline const QString SettingsFileName = QStringLiteral("RW830KT2485E.ini");

// The settings file of a folder (the program directory, or the current folder of the
// command line).
inline QString settingsFilePath(const QString &folder)
{
    return folder + QLatin1Char('/') + SettingsFileName;
}

// The optional list of ports the user names, ";" between names.
inline const QString SerialSection = QStringLiteral("Serial");
inline const QString ExtraPortsKey = QStringLiteral("ExtraPorts");

} // namespace rw
