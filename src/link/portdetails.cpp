// SPDX-License-Identifier: GPL-3.0-or-later
#include "portdetails.h"

#include <QSerialPortInfo>
#include <QStringList>

namespace rw {

QString portDetails(const QString &name)
{
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        if (info.portName() != name && info.systemLocation() != name)
            continue;
        QStringList parts;
        if (!info.description().isEmpty())
            parts << info.description();
        if (!info.manufacturer().isEmpty())
            parts << info.manufacturer();
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            parts << QStringLiteral("USB %1:%2")
                         .arg(info.vendorIdentifier(), 4, 16, QChar('0'))
                         .arg(info.productIdentifier(), 4, 16, QChar('0'));
        return parts.join(QStringLiteral(", "));
    }
    return {};
}

} // namespace rw
