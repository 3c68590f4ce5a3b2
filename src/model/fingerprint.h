// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fingerprint of a table: the CRC-32 of its 2048-byte image, as zip, PNG and Ethernet
// compute it. The settings sheet prints it and `dump` shows it, so a technician can tell
// from the sheet whether a table file or a transmitter holds the same settings.

#include <QByteArray>
#include <QString>

namespace rw {

class SettingsTable;

quint32 crc32(const QByteArray &bytes);

// Eight uppercase hex digits ("CBF43926").
QString tableFingerprint(const SettingsTable &table);

} // namespace rw
