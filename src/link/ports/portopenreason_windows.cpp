// SPDX-License-Identifier: GPL-3.0-or-later
// Why a port did not open on Windows: the COM port is not there, or another program has it
// open (Windows lets one program at a time open a COM port); else the system's own words.
#include "portopenreason.h"

#include "link/line/commport.h"
#include "link/line/networkportname.h"
#include "model/textrules.h"

#include <QSerialPort>

namespace rw {

QString portOpenReason(const QString &portName, const ECommError &failure)
{
    // A line on the network knows its own reason when it fails to open.
    if (isNetworkPortName(portName))
        return escapedControls(failure.Detail);
    const QString port = escapedControls(portName);
    switch (static_cast<QSerialPort::SerialPortError>(failure.SystemError)) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("The port %1 is not there: the adapter is unplugged, or Windows has "
                              "given it another number (Device Manager, Ports). Plug it in and "
                              "choose the port again; the list of ports shows the ports present "
                              "each time it opens.")
            .arg(port);
    case QSerialPort::PermissionError:
        return QStringLiteral("The port %1 is in use by another program, such as a terminal "
                              "program. Close it and try again.")
            .arg(port);
    default:
        break;
    }
    if (failure.Detail.isEmpty())
        return QStringLiteral("%1 did not open as a serial port.").arg(port);
    return QStringLiteral("%1 did not open as a serial port: %2.")
        .arg(port, escapedControls(failure.Detail));
}

} // namespace rw
