// SPDX-License-Identifier: GPL-3.0-or-later
#include "synthsettings.h"

#include "base/profilefile.h"
#include "base/settingsfile.h"
#include "frequency.h"
#include "model/textrules.h"

#include <QDir>
#include <QRegularExpression>
#include <array>
#include <cmath>
#include <optional>

namespace rw {
namespace {

using F = SynthField;

const QString SystemSection = QStringLiteral("System");
const QString OscFreqKey = QStringLiteral("OSCFreq");
const QString ChannelSpaceKey = QStringLiteral("ChannelSpace");
constexpr std::string_view BitRefusal = "This bit is set to 0 or 1 !";

struct Bounds {
    qint32 min;
    qint32 max;
    std::string_view refusal;
};

// One key that the reader takes back. Register keys are named by their field; the two
// keys of section "System" have no field.
struct ReadRow {
    std::optional<SynthField> field;
    std::string_view systemKey;
    std::string_view defaultText;
    Bounds bounds;
    // When set and the field it names holds 1, `selectedBounds` apply instead.
    std::optional<SynthField> selector = std::nullopt;
    Bounds selectedBounds{};
};

constexpr Bounds Bit{0, 1, BitRefusal};

// clang-format off
const std::array<ReadRow, 32> ReadingTable{{
    {std::nullopt, "OSCFreq",      "14850000", {0, 99990000, " 0 < Oscillator Frequency < 99990000 !"}},
    {std::nullopt, "ChannelSpace", "0",        {0, 4, " 0 < Channel Space < 5 !"}},
    {F::RF_P,     {}, "0",     Bit},
    {F::RF_N,     {}, "54",    {25, 1023, "25 < RF_N < 1024 !"}, F::RF_P, {49, 2045, "49 < RF_N < 2046 !"}},
    {F::RF_FN,    {}, "360",   {0, 4095, "0 < RF_FN < 4096 !"}},
    {F::RF_PD,    {}, "0",     Bit},
    {F::RF_R,     {}, "1",     {1, 63, " 1 < RF_R < 64 !"}},
    {F::RF_FD,    {}, "1188",  {0, 4095, "0 < RF_FD < 4095 !"}},
    {F::IF_PD,    {}, "1",     Bit},
    {F::IF_P,     {}, "1",     Bit},
    {F::IF_N,     {}, "15400", {23, 262143, " 23 < IF_N < 262144 !"}, F::IF_P, {47, 524287, " 47 < IF_N < 524287!"}},
    {F::ACCESS,   {}, "1",     {1, 15, " 1 < ACCESS < 16!"}},
    {F::RF_CPG,   {}, "3",     {0, 15, " 0 < RF_CPG < 16!"}},
    {F::IF_R,     {}, "200",   {3, 4095, " 3 < IF_R < 4096!"}},
    {F::ATPU,     {}, "0",     Bit},
    {F::DITH,     {}, "1",     {0, 3, "0 < DITH < 4 "}},
    {F::FM,       {}, "3",     {0, 3, "0 < FM < 4 "}},
    {F::OSC_2X,   {}, "0",     Bit},
    {F::OSC_OUT,  {}, "0",     Bit},
    {F::IF_CPP,   {}, "1",     Bit},
    {F::RF_CPP,   {}, "1",     Bit},
    {F::MUX,      {}, "9",     {0, 15, "0 < MUX < 16 "}},
    {F::R5_RF_FD, {}, "0",     {0, 4095, "0 < RF_FD < 4096 !"}},
    {F::R5_RF_FN, {}, "0",     {0, 4095, "1 < RF_FN < 4096 !"}},
    {F::CSR,      {}, "1",     {0, 3, "0 < CSR < 4 "}},
    {F::RF_CPF,   {}, "11",    {0, 15, "0 < RF_CPF < 16"}},
    {F::RF_TOC,   {}, "4",     {0, 16383, "0 < RF_TOC < 16384 !"}},
    {F::DIV4,     {}, "0",     Bit},
    {F::IF_RST,   {}, "1",     Bit},
    {F::RF_RST,   {}, "0",     Bit},
    {F::IF_CPT,   {}, "0",     Bit},
    {F::RF_CPT,   {}, "0",     Bit},
}};

// The register keys in the order the writer puts them, after OSCFreq and ChannelSpace.
constexpr std::array<SynthField, 42> WritingOrder{
    F::RF_N, F::RF_FN, F::R0_C,
    F::RF_FD, F::RF_P, F::RF_PD, F::RF_R, F::R1_C,
    F::IF_N, F::IF_PD, F::R2_C,
    F::ACCESS, F::IF_R, F::RF_CPG, F::R3_C,
    F::ATPU, F::DITH, F::R4_Fixed1, F::R4_Fixed2, F::FM, F::IF_CPP, F::IF_P, F::MUX,
    F::OSC_2X, F::OSC_OUT, F::RF_CPP, F::R4_C,
    F::R5_RF_FD, F::R5_RF_FN, F::R5_C,
    F::CSR, F::RF_CPF, F::RF_TOC, F::R6_C,
    F::DIV4, F::R7_Fixed1, F::R7_Fixed2, F::IF_CPT, F::IF_RST, F::RF_CPT, F::RF_RST, F::R7_C,
};
// clang-format on

QString text(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

bool isOscFreq(const ReadRow &row)
{
    return !row.field && row.systemKey == "OSCFreq";
}

QString sectionOf(const ReadRow &row)
{
    return row.field ? synthSectionName(synthFieldEntry(*row.field).word) : SystemSection;
}

QString keyOf(const ReadRow &row)
{
    return row.field ? text(synthFieldEntry(*row.field).key) : text(row.systemKey);
}

QString emptyValueMessage(const ReadRow &row)
{
    if (isOscFreq(row))
        return QStringLiteral("Get Oscillator Frequency Failed!\nDefault=14.85MHz");
    if (!row.field)
        return QStringLiteral("Get Channel Space Failed!\nDefault=6.25KHz");
    return QStringLiteral("Get %1 Failed!\nDefault=%2").arg(keyOf(row), text(row.defaultText));
}

// A decimal number with an optional fraction and exponent, nothing else.
std::optional<double> parseDecimal(const QString &s)
{
    static const QRegularExpression number(
        QStringLiteral(R"(\A[+-]?(\d+(\.\d*)?|\.\d+)([eE][+-]?\d+)?\z)"));
    if (!number.match(s).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double v = s.toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

// The value stored from the row, after its follow-up step.
void store(const ReadRow &row, qint32 v, SynthState &state)
{
    if (isOscFreq(row)) {
        state.OSCFreq = v;
        return;
    }
    if (!row.field) {
        for (const ChannelSpacing &s : ChannelSpacings)
            if (s.code == v)
                state.ChannelSpaceHz = s.hz;
        return;
    }
    state.fields[*row.field] = v;
    if (*row.field == F::RF_P)
        state.PrescalerModulus = v == 1 ? 16 : 8;
    else if (*row.field == F::RF_R)
        state.CompareFreq = state.OSCFreq / v; // RF_R is at least 1 here
}

void keepLine(const ReadRow &row, KeptSettingsLines &kept)
{
    if (row.field)
        kept.setField(*row.field, true);
    else if (isOscFreq(row))
        kept.OSCFreq = true;
    else
        kept.ChannelSpace = true;
}

QString tooLargeMessage()
{
    return QStringLiteral("%1 was not read: it is larger than %2 bytes, too large for a "
                          "settings file.\nThe built-in values are used, and the file is left "
                          "as it is.")
        .arg(SettingsFileName)
        .arg(ProfileFile::MaxFileSize);
}

// What the user reads below the refusal of a value out of its range; the file's name is
// added by the reader that knows it.
SynthLoadResult outOfRange(SynthLoadResult result, const ReadRow &row, const QString &value)
{
    result.advice =
        QStringLiteral("Key %1 in section [%2] of %3 holds %4. Correct or delete that "
                       "line; until then the built-in values are used from that key "
                       "on.")
            .arg(keyOf(row), sectionOf(row), QStringLiteral("%1"), shownInMessage(value));
    return result;
}

} // namespace

SynthLoadResult readSynthSettings(const ProfileFile &file, SynthState &state)
{
    using O = SynthLoadResult::Outcome;
    for (std::size_t i = 0; i < ReadingTable.size(); ++i) {
        const ReadRow &row = ReadingTable[i];
        // The reading ends here: this key and every later one were never taken in.
        auto stop = [&](O outcome, const QString &message) {
            for (std::size_t j = i; j < ReadingTable.size(); ++j)
                keepLine(ReadingTable[j], state.keptLines);
            return SynthLoadResult{outcome, message, {}};
        };
        const QString value = file.read(sectionOf(row), keyOf(row), text(row.defaultText));
        if (value.isEmpty())
            return stop(O::Refused, emptyValueMessage(row));

        const Bounds &bounds =
            row.selector && state.fields[*row.selector] == 1 ? row.selectedBounds : row.bounds;
        qint32 v = 0;
        if (isOscFreq(row)) {
            const auto hz = parseDecimal(value);
            if (!hz)
                return stop(O::NotANumber,
                            QStringLiteral("'%1' is not a valid floating point value")
                                .arg(shownInMessage(value)));
            if (!(*hz >= bounds.min && *hz <= bounds.max))
                return outOfRange(stop(O::Refused, text(bounds.refusal)), row, value);
            v = static_cast<qint32>(std::trunc(*hz));
        } else {
            const auto n = parseInt32(value);
            if (!n)
                return stop(O::NotANumber, notAnIntegerMessage(value));
            if (*n < bounds.min || *n > bounds.max)
                return outOfRange(stop(O::Refused, text(bounds.refusal)), row, value);
            v = *n;
        }
        store(row, v, state);
    }
    return {};
}

SynthLoadResult readSynthSettings(const QString &path, SynthState &state)
{
    const ProfileFile file(path);
    SynthLoadResult result = readSynthSettings(file, state);
    // A file too large to be a settings file reads as missing; the user learns that it
    // was not read, and it is never rewritten.
    if (file.tooLarge() && result.outcome == SynthLoadResult::Outcome::Complete)
        result = {SynthLoadResult::Outcome::NotRead, tooLargeMessage(), {}};
    if (!result.advice.isEmpty())
        result.advice = result.advice.arg(QDir::toNativeSeparators(path));
    return result;
}

void writeSynthSettings(ProfileFile &file, const SynthState &state)
{
    // A key whose value the run does not hold is not written: the file keeps its line,
    // or goes on without one (it then reads as its default text, as the user's file
    // intends). What the run holds for such a key is a start value, not the user's.
    // Every other key is written as the run holds it, even a value the next start will
    // refuse (RF_N 31 with RF_P 1 after 462025000 Hz): that start then names the key and
    // the remedy, where keeping an older line would change the frequency without a word.
    auto put = [&file](bool kept, const QString &section, const QString &key,
                       const QString &value) {
        if (!kept)
            file.write(section, key, value);
    };
    put(state.keptLines.OSCFreq, SystemSection, OscFreqKey, QString::number(state.OSCFreq));
    // A spacing that is none of the five (after a table with an unusual denominator)
    // is saved as the code of the nearest one, so the file always reads back.
    put(state.keptLines.ChannelSpace, SystemSection, ChannelSpaceKey,
        QString::number(nearestChannelSpacing(state.ChannelSpaceHz).code));
    for (SynthField f : WritingOrder) {
        const SynthFieldEntry &entry = synthFieldEntry(f);
        const qint32 v = state.fields[f];
        const QString value =
            f == F::IF_N ? QString::number(static_cast<quint32>(v)) : QString::number(v);
        put(state.keptLines.field(f), synthSectionName(entry.word), text(entry.key), value);
    }
}

bool writeSynthSettingsFile(const QString &path, const SynthState &state)
{
    ProfileFile file(path);
    writeSynthSettings(file, state);
    return file.save();
}

} // namespace rw
