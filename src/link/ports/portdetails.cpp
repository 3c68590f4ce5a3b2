// SPDX-License-Identifier: GPL-3.0-or-later
#include "portdetails.h"

#include "link/line/networkportname.h"

#include <QSerialPortInfo>
#include <QStringList>

namespace rw {

QString portDetails(const QString &name)
{
    return portDetails(name, QSerialPortInfo::availablePorts());
}

QString portDetails(const QString &name, const QList<QSerialPortInfo> &available)
{
    if (const auto address = parseNetworkPortName(name))
        return address->rfc2217 ? QStringLiteral("serial server on the network, RFC 2217")
                                : QStringLiteral("serial server on the network, raw TCP");
    for (const QSerialPortInfo &info : available) {
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
