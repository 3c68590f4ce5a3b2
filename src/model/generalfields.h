// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Encodings of the general settings that are more than a plain number.

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace rw {

class SettingsTable;

// The system code: exactly four decimal digits, zero-padded, no terminator.
QByteArray encodeSysCode(int value);
// The four bytes as text, ending early at a zero byte.
QString decodeSysCode(const QByteArray &bytes);

// The power-up logo: leading blanks, the number of characters that count, and the
// characters themselves. Bytes of the text field beyond the logo keep their contents.
void storePowLogo(SettingsTable &table, const QString &editText);
QString powLogoText(const SettingsTable &table);

} // namespace rw
