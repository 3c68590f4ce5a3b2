// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the system knows of the device behind a port, for a person choosing a port.

#include <QList>
#include <QString>

class QSerialPortInfo;

namespace rw {

// The description, manufacturer and USB vendor:product of the device behind `name` (a
// port name or a device path), those known, separated by ", "; empty when none is.
QString portDetails(const QString &name);
// The same from ports the caller has already asked the system for: asking once serves a
// whole list.
QString portDetails(const QString &name, const QList<QSerialPortInfo> &available);

} // namespace rw
