// SPDX-License-Identifier: GPL-3.0-or-later
#include "settingstable.h"

#include <algorithm>

namespace rw {

SettingsTable::SettingsTable()
{
    resetToDefaults();
}

SettingsTable &SettingsTable::instance()
{
    static SettingsTable table;
    return table;
}

void SettingsTable::resetToDefaults()
{
    data_.fill(0);
    for (int k = 0; k < MessageCount; ++k)
        data_[messageRecordOffset(k) + MessageRecordLayout::FixedByte] =
            MessageRecordLayout::DefaultFixedByte;
    for (const FieldEntry &s : generalBlockLayout())
        std::copy(s.defaults.begin(), s.defaults.end(), data_.begin() + s.offset);
    changed();
}

QByteArray SettingsTable::buildImage() const
{
    QByteArray image(ImageSize, '\0');
    std::copy(data_.begin(), data_.end(), image.begin());
    return image;
}

void SettingsTable::takeImage(const QByteArray &image)
{
    const auto n = std::min<qsizetype>(image.size(), DataSize);
    data_.fill(0);
    std::copy_n(reinterpret_cast<const uint8_t *>(image.constData()), n, data_.begin());
    ++imageLoads_;
    changed();
}

uint32_t SettingsTable::value(Field f) const
{
    const FieldEntry &s = fieldEntry(f);
    uint32_t v = 0;
    for (int i = std::min(s.width, 4) - 1; i >= 0; --i)
        v = (v << 8) | data_[s.offset + i];
    return v;
}

void SettingsTable::setValue(Field f, uint32_t v)
{
    const FieldEntry &s = fieldEntry(f);
    for (int i = 0; i < std::min(s.width, 4); ++i)
        data_[s.offset + i] = static_cast<uint8_t>(v >> (8 * i));
    changed();
}

QByteArray SettingsTable::bytes(Field f) const
{
    const FieldEntry &s = fieldEntry(f);
    return QByteArray(reinterpret_cast<const char *>(data_.data() + s.offset), s.width);
}

void SettingsTable::setBytes(Field f, const QByteArray &b)
{
    const FieldEntry &s = fieldEntry(f);
    const auto n = std::min<qsizetype>(b.size(), s.width);
    std::copy_n(reinterpret_cast<const uint8_t *>(b.constData()), n, data_.begin() + s.offset);
    changed();
}

QByteArray SettingsTable::messageRecord(int k) const
{
    Q_ASSERT(k >= 0 && k < MessageCount);
    return QByteArray(reinterpret_cast<const char *>(data_.data() + messageRecordOffset(k)),
                      MessageRecordSize);
}

void SettingsTable::setMessageRecord(int k, const QByteArray &record)
{
    Q_ASSERT(k >= 0 && k < MessageCount);
    const auto n = std::min<qsizetype>(record.size(), MessageRecordSize);
    std::copy_n(reinterpret_cast<const uint8_t *>(record.constData()), n,
                data_.begin() + messageRecordOffset(k));
    changed();
}

bool SettingsTable::holdsNoSettings() const
{
    if (std::all_of(data_.begin(), data_.end(), [](uint8_t b) { return b == 0; }))
        return true;
    for (Field f :
         {Field::R0, Field::R1, Field::R2, Field::R3, Field::R4, Field::R5, Field::R6, Field::R7})
        if (value(f) != 0)
            return false;
    return true;
}

} // namespace rw
