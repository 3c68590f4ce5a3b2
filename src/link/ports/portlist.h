// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list of serial ports the window offers in its port list.

#include <QList>
#include <QString>
#include <QStringList>

class QSerialPortInfo;

namespace rw {

constexpr int MaxListedPorts = 256;

// A port the system reports: the name to open it by, and what identifies the device
// behind it (its device file, with links resolved) so that no device is listed twice.
struct FoundPort {
    QString name;
    QString device;
};

// True when a sorts before b with runs of digits compared as numbers (ttyS2 < ttyS10).
bool naturalLess(const QString &a, const QString &b);

// The ports that the user named in the settings file come first, in their order; then
// the ports the system reports, in natural order; each device once, at most 256 names.
// When both are empty the list is ttyS0 .. ttyS15.
QStringList unixPortNames(const QList<FoundPort> &named, QList<FoundPort> found);

// The names listed in the settings file's optional "ExtraPorts" key of section
// "Serial", separated by ";", blanks around each name ignored.
QStringList extraPortNames(const QString &settingsFile);

// The port list of this machine: the named ports of the settings file first, then on Linux
// those Qt reports, on Windows those of the device installer's records (one file each).
QStringList systemPortNames(const QString &settingsFile);
// The same from ports the caller has already asked the system for (Qt's list; Windows
// takes its names from the device installer's records all the same).
QStringList systemPortNames(const QString &settingsFile, const QList<QSerialPortInfo> &available);

} // namespace rw
