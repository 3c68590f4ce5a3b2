// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names of ports that a server offers on the network: `rfc2217://HOST:PORT` (telnet with
// the COM-PORT-OPTION) and `socket://HOST:PORT` (the bytes as they are).

#include <QString>
#include <optional>

namespace rw {

struct NetworkAddress {
    bool rfc2217 = false;
    QString host;
    quint16 port = 0;
};

// Whether the name has one of the two network forms (well made or not).
bool isNetworkPortName(const QString &name);
// The server a network port name names; nullopt when the name lacks a host or a port.
std::optional<NetworkAddress> parseNetworkPortName(const QString &name);

} // namespace rw
