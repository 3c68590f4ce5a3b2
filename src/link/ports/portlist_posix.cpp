// SPDX-License-Identifier: GPL-3.0-or-later
// The port list of a Linux machine: the ports named in the settings file, then those Qt
// finds, each device once.
#include "portlist.h"

#include "link/line/networkportname.h"

#include <QFileInfo>
#include <QSerialPortInfo>

namespace rw {

namespace {

// The device file behind a port name: Qt opens a bare name under /dev.
QString deviceOf(const QString &name)
{
    // A line on the network is no file here: its name is all there is to it.
    if (isNetworkPortName(name))
        return name;
    const QString path = name.startsWith(u'/') ? name : QStringLiteral("/dev/") + name;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

} // namespace

QStringList systemPortNames(const QString &settingsFile)
{
    return systemPortNames(settingsFile, QSerialPortInfo::availablePorts());
}

QStringList systemPortNames(const QString &settingsFile, const QList<QSerialPortInfo> &available)
{
    QList<FoundPort> named;
    for (const QString &name : extraPortNames(settingsFile))
        named.append({name, deviceOf(name)});
    QList<FoundPort> found;
    for (const QSerialPortInfo &info : available)
        found.append({info.portName(), deviceOf(info.systemLocation())});
    return unixPortNames(named, found);
}

} // namespace rw
