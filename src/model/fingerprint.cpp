// SPDX-License-Identifier: GPL-3.0-or-later
#include "fingerprint.h"

#include "settingstable.h"

namespace rw {

quint32 crc32(const QByteArray &bytes)
{
    // Bit by bit: 2048 bytes take no time worth a table.
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<quint8>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QString tableFingerprint(const SettingsTable &table)
{
    return QStringLiteral("%1").arg(crc32(table.buildImage()), 8, 16, QLatin1Char('0')).toUpper();
}

} // namespace rw
