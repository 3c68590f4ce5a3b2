// SPDX-License-Identifier: GPL-3.0-or-later
// The port list of a Windows machine: the ports named in the settings file (a COM port the
// device installer does not show, a serial server on the network), then the names the
// device installer's records give, each port once whatever its letter case.
#include "portlist.h"

#include "portrecords.h"

#include <QSerialPortInfo>
#include <QSet>

namespace rw {

QStringList systemPortNames(const QString &settingsFile)
{
    return systemPortNames(settingsFile, {});
}

QStringList systemPortNames(const QString &settingsFile, const QList<QSerialPortInfo> &)
{
    QStringList names;
    QSet<QString> seen;
    auto add = [&](const QString &name) {
        if (names.size() < MaxListedPorts && !seen.contains(name.toUpper())) {
            seen.insert(name.toUpper());
            names.append(name);
        }
    };
    for (const QString &name : extraPortNames(settingsFile))
        add(name);
    for (const std::string &name : windowsPortNames(readPortDeviceRecords()).names)
        add(QString::fromStdString(name));
    return names;
}

} // namespace rw
