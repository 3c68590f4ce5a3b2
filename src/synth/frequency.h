// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frequency plan: from a carrier frequency in hertz to the RF integer count, the
// fractional numerator and denominator and the reference divider, and back.

#include "synthstate.h"

#include <QString>
#include <array>
#include <optional>

namespace rw {

struct ChannelSpacing {
    qint32 hz;
    quint8 code; // as held in the table byte ChanSpacingCode and the key ChannelSpace
};

// In the order they are tried: the widest spacing that divides a frequency wins.
inline constexpr std::array<ChannelSpacing, 5> ChannelSpacings{
    {{12500, 4}, {10000, 3}, {6250, 2}, {5000, 1}, {2500, 0}}};

// The first spacing that divides `hz`; none for a frequency no spacing divides.
std::optional<ChannelSpacing> chooseChannelSpacing(qint32 hz);
// The spacing closest to `hz`; of two equally close, the one tried first.
ChannelSpacing nearestChannelSpacing(qint32 hz);

// The highest carrier that can be entered: the edit takes nine digits.
constexpr qint64 MaxEnteredFrequency = 999999999;
// The highest carrier that can be shown: what the 32-bit sum holds without wrapping.
constexpr qint64 MaxShownFrequency = 4294967295;

enum class FrequencyRefusal {
    None,
    Negative,         // only reachable by pasting
    NoChannelSpacing, // no spacing divides the frequency
    Oscillator,       // the reference is zero or narrower than the spacing
    Divider,          // RF_R would not fit its six bits
    OutOfRange,       // the integer count would not fit RF_N, or more than nine digits
};

struct FrequencyEntry {
    FrequencyRefusal refusal = FrequencyRefusal::None;
    ChannelSpacing spacing{};
    bool accepted() const { return refusal == FrequencyRefusal::None; }
    QString message() const; // the window's text for a refusal; empty when accepted
};

// What the frequency edit accepts, in words: a carrier in hertz that one of the channel
// spacings divides.
QString acceptedFrequencyText();
// The frequency as the register words hold it, `shown` as its edit shows it: "stored:
// 462025000 Hz"; "stored: no frequency" when the words describe none.
QString storedFrequencyText(const QString &shown);

// The window's message for a refused frequency.
QString frequencyRefusalMessage(FrequencyRefusal r);

// Computes RF_N, both parts of RF_FN and RF_FD and RF_R for carrier `hz` and sets
// ChannelSpaceHz. A refused frequency changes nothing.
FrequencyEntry enterFrequency(SynthState &state, qint32 hz);

// The carrier that the fields describe; none when RF_R is zero or the sum would not fit
// 32 bits.
std::optional<qint64> frequencyFromFields(const SynthState &state);
// What edtFreq shows: the carrier in plain digits, or nothing when there is none.
QString frequencyText(const SynthState &state);

// The prescaler and the spacing as the current fields imply them. When RF_R or the
// fractional denominator is zero the spacing keeps its previous value.
void refreshSpacing(SynthState &state);

} // namespace rw
