// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one in-memory image of the transmitter's settings. Editors change single fields,
// table files and the transmitter exchange the whole image.

#include "fieldlayout.h"

#include <QByteArray>
#include <array>
#include <cstdint>
#include <functional>

namespace rw {

class SettingsTable {
public:
    SettingsTable(); // built-in defaults

    // The process-wide table that the window edits.
    static SettingsTable &instance();

    void resetToDefaults();

    // The 2048-byte image: bytes 0..1939 from the table, the tail always zero.
    QByteArray buildImage() const;
    // Replaces bytes 0..1939 from an image; anything from byte 1940 on is ignored and
    // bytes missing from a short buffer read as zero. Nothing is validated.
    void takeImage(const QByteArray &image);
    // How many whole images the table has taken in (a table file opened, a Read).
    quint64 imageLoads() const { return imageLoads_; }

    // Typed access to the general block. value() reads 1-byte and 4-byte little-endian
    // fields as unsigned; setValue() writes the low bytes of v into the field only.
    uint32_t value(Field f) const;
    void setValue(Field f, uint32_t v);
    QByteArray bytes(Field f) const;
    // Writes at most the field's width; bytes of the field beyond `b` keep their contents.
    void setBytes(Field f, const QByteArray &b);

    // True for what a blank transmitter holds (never programmed, or its memory lost): no
    // byte set at all, or at least no synthesizer register word.
    bool holdsNoSettings() const;

    // Raw access to one canned-message record (58 bytes).
    QByteArray messageRecord(int k) const;
    void setMessageRecord(int k, const QByteArray &record);

    // Called after every change of the table's bytes (the window marks edits that are in
    // no file and no transmitter). A copy of the table does not take the listener along.
    void setChangeListener(std::function<void()> listener) { listener_.call = std::move(listener); }

private:
    struct Listener {
        std::function<void()> call;
        Listener() = default;
        Listener(const Listener &) {}
        Listener &operator=(const Listener &) { return *this; }
    };
    void changed() const
    {
        if (listener_.call)
            listener_.call();
    }

    std::array<uint8_t, DataSize> data_{};
    quint64 imageLoads_ = 0;
    Listener listener_;
};

} // namespace rw
