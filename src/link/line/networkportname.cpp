// SPDX-License-Identifier: GPL-3.0-or-later
#include "networkportname.h"

#include <QUrl>

namespace rw {

namespace {

const QLatin1String Rfc2217Scheme("rfc2217://");
const QLatin1String SocketScheme("socket://");

} // namespace

bool isNetworkPortName(const QString &name)
{
    return name.startsWith(Rfc2217Scheme, Qt::CaseInsensitive) ||
           name.startsWith(SocketScheme, Qt::CaseInsensitive);
}

std::optional<NetworkAddress> parseNetworkPortName(const QString &name)
{
    if (!isNetworkPortName(name))
        return std::nullopt;
    const QUrl url(name, QUrl::StrictMode);
    const QString rest = name.mid(name.indexOf(QLatin1String("://")) + 3);
    if (!url.isValid() || url.host().isEmpty() || url.port() <= 0 || !url.userInfo().isEmpty() ||
        (!url.path().isEmpty() && url.path() != QLatin1String("/")) || url.hasQuery() ||
        url.hasFragment() || rest.isEmpty())
        return std::nullopt;
    NetworkAddress a;
    a.rfc2217 = name.startsWith(Rfc2217Scheme, Qt::CaseInsensitive);
    a.host = url.host();
    a.port = static_cast<quint16>(url.port());
    return a;
}

} // namespace rw
