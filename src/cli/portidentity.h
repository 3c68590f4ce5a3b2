// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether two port names of one command line lead to the same device: /dev/pts/3,
// /dev/../dev/pts/3, pts/3 and a symbolic link to it are one transmitter, which two
// transfers at once would garble.

#include <QString>
#include <QStringList>
#include <optional>

namespace rw::cli {

// The first pair of names in `ports` that lead to one device, as "A and B"; nullopt when
// every port is a device of its own.
std::optional<QString> samePortTwice(const QStringList &ports);

// What identifies the device behind a port name on this system (one file per system).
QString deviceKey(const QString &name);

} // namespace rw::cli
