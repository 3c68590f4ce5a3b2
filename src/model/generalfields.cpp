// SPDX-License-Identifier: GPL-3.0-or-later
#include "generalfields.h"

#include "settingstable.h"
#include "textrules.h"

namespace rw {

QByteArray encodeSysCode(int value)
{
    return QByteArray::number(value).rightJustified(4, '0', true);
}

QString decodeSysCode(const QByteArray &bytes)
{
    return fromTableText(untilZero(bytes, 4));
}

void storePowLogo(SettingsTable &table, const QString &editText)
{
    const QString s = trimTrailingBlanks(editText);
    if (s.isEmpty()) {
        table.setValue(Field::PowLogoLead, 0);
        table.setValue(Field::PowLogoLen, 1);
        return;
    }
    const QString t = trimBlanks(s);
    const int width = fieldEntry(Field::PowLogoText).width;
    const QByteArray text = toTableText(t).left(width);
    table.setValue(Field::PowLogoLead, static_cast<uint32_t>(s.size() - t.size()));
    table.setValue(Field::PowLogoLen, static_cast<uint32_t>(text.size()));
    table.setBytes(Field::PowLogoText, text);
}

QString powLogoText(const SettingsTable &table)
{
    // Intended: only the low four bits of PowLogoLead count as leading blanks.
    const int lead = table.value(Field::PowLogoLead) & 0x0F;
    const int len = static_cast<int>(table.value(Field::PowLogoLen));
    const QByteArray text = untilZero(table.bytes(Field::PowLogoText), len);
    return QString(lead, QChar(' ')) + fromTableText(text);
}

} // namespace rw
