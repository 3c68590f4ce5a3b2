// SPDX-License-Identifier: GPL-3.0-or-later
#include "frequency.h"

#include <QStringList>
#include <cstdlib>

namespace rw {
namespace {

constexpr qint64 FractionMask = (qint64(1) << 22) - 1; // FN and FD are 22 bits
constexpr qint64 LowPartMask = 4095;                   // bits 11..0, in R0 and R1
constexpr int HighPartShift = 12;                      // bits 21..12, in R5

// The RF_N code holds the count's whole multiples of the modulus in bits 10..4 and the
// remainder in bits 3..0, so the largest count it can carry is 128 moduli less one.
qint64 largestIntegerCount(qint32 modulus)
{
    return qint64(128) * modulus - 1;
}

// A field's value as its word carries it.
qint64 within(const SynthFields &f, SynthField field)
{
    return f[field] & synthFieldEntry(field).maxValue();
}

} // namespace

std::optional<ChannelSpacing> chooseChannelSpacing(qint32 hz)
{
    for (const ChannelSpacing &s : ChannelSpacings)
        if (hz % s.hz == 0)
            return s;
    return std::nullopt;
}

ChannelSpacing nearestChannelSpacing(qint32 hz)
{
    ChannelSpacing best = ChannelSpacings.front();
    for (const ChannelSpacing &s : ChannelSpacings)
        if (std::llabs(qint64(hz) - s.hz) < std::llabs(qint64(hz) - best.hz))
            best = s;
    return best;
}

QString acceptedFrequencyText()
{
    QStringList spacings;
    for (const ChannelSpacing &s : ChannelSpacings)
        spacings << QString::number(s.hz);
    const QString last = spacings.takeLast();
    return QStringLiteral("Hertz, up to %1 digits, a multiple of %2 or %3")
        .arg(QString::number(MaxEnteredFrequency).size())
        .arg(spacings.join(QStringLiteral(", ")), last);
}

QString storedFrequencyText(const QString &shown)
{
    if (shown.isEmpty())
        return QStringLiteral("stored: no frequency");
    return QStringLiteral("stored: %1 Hz").arg(shown);
}

QString frequencyRefusalMessage(FrequencyRefusal r)
{
    switch (r) {
    case FrequencyRefusal::None:
        return {};
    case FrequencyRefusal::Negative:
        return QStringLiteral("Please insert a numeric !");
    case FrequencyRefusal::NoChannelSpacing:
        return QStringLiteral("Channel Spacing Error!");
    case FrequencyRefusal::Oscillator:
        return QStringLiteral("Oscillator Frequency Error!");
    case FrequencyRefusal::Divider:
        return QStringLiteral(" 1 < RF_R < 64 !");
    case FrequencyRefusal::OutOfRange:
        return QStringLiteral("Frequency Range Error!");
    }
    return {};
}

QString FrequencyEntry::message() const
{
    return frequencyRefusalMessage(refusal);
}

FrequencyEntry enterFrequency(SynthState &state, qint32 hz)
{
    FrequencyEntry entry;
    auto refuse = [&entry](FrequencyRefusal r) {
        entry.refusal = r;
        return entry;
    };
    if (hz < 0)
        return refuse(FrequencyRefusal::Negative);
    if (hz > MaxEnteredFrequency)
        return refuse(FrequencyRefusal::OutOfRange);
    const auto spacing = chooseChannelSpacing(hz);
    if (!spacing)
        return refuse(FrequencyRefusal::NoChannelSpacing);
    entry.spacing = *spacing;

    // A reference below the spacing would give a zero fractional denominator.
    const qint64 compare = state.CompareFreq;
    if (compare < spacing->hz)
        return refuse(FrequencyRefusal::Oscillator);
    const qint64 divider = state.OSCFreq / compare;
    if (divider < 1 || divider > synthFieldEntry(SynthField::RF_R).maxValue())
        return refuse(FrequencyRefusal::Divider);
    const qint64 count = hz / compare;
    const qint32 modulus = state.PrescalerModulus;
    if (modulus <= 0 || count > largestIntegerCount(modulus))
        return refuse(FrequencyRefusal::OutOfRange);

    const qint64 fn = ((hz % compare) / spacing->hz) & FractionMask;
    const qint64 fd = (compare / spacing->hz) & FractionMask;
    SynthFields &f = state.fields;
    f[SynthField::RF_N] = static_cast<qint32>(16 * (count / modulus) + count % modulus);
    f[SynthField::RF_R] = static_cast<qint32>(divider);
    f[SynthField::RF_FN] = static_cast<qint32>(fn & LowPartMask);
    f[SynthField::R5_RF_FN] = static_cast<qint32>(fn >> HighPartShift);
    f[SynthField::RF_FD] = static_cast<qint32>(fd & LowPartMask);
    f[SynthField::R5_RF_FD] = static_cast<qint32>(fd >> HighPartShift);
    state.ChannelSpaceHz = spacing->hz;
    return entry;
}

std::optional<qint64> frequencyFromFields(const SynthState &state)
{
    const SynthFields &f = state.fields;
    const qint64 divider = within(f, SynthField::RF_R);
    if (divider == 0)
        return std::nullopt;
    const qint64 code = within(f, SynthField::RF_N);
    // Intended: bits 3..2 count fours and bits 1..0 ones, added whole even where they reach
    // past the modulus (8), below which the entry keeps them.
    const qint64 count = state.PrescalerModulus * (code >> 4) + 4 * ((code >> 2) & 3) + (code & 3);
    const qint64 fn =
        (within(f, SynthField::R5_RF_FN) << HighPartShift) + within(f, SynthField::RF_FN);
    // Worked in 64 bits, so a carrier that would overflow 32 bits is recognised as such
    // rather than shown wrapped round.
    const qint64 hz = (state.OSCFreq / divider) * count + qint64(state.ChannelSpaceHz) * fn;
    if (hz < 0 || hz > MaxShownFrequency)
        return std::nullopt;
    return hz;
}

QString frequencyText(const SynthState &state)
{
    const auto hz = frequencyFromFields(state);
    return hz ? QString::number(*hz) : QString();
}

void refreshSpacing(SynthState &state)
{
    const SynthFields &f = state.fields;
    state.PrescalerModulus = within(f, SynthField::RF_P) == 1 ? 16 : 8;
    const qint64 fd =
        (within(f, SynthField::R5_RF_FD) << HighPartShift) + within(f, SynthField::RF_FD);
    const qint64 divider = within(f, SynthField::RF_R);
    if (divider == 0 || fd == 0)
        return;
    state.ChannelSpaceHz = static_cast<qint32>((state.OSCFreq / divider) / fd);
}

} // namespace rw
