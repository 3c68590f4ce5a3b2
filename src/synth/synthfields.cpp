// SPDX-License-Identifier: GPL-3.0-or-later
#include "synthfields.h"

#include "model/settingstable.h"

namespace rw {
namespace {

using F = SynthField;

// clang-format off
constexpr std::array<SynthFieldEntry, SynthFieldCount> Layout{{
    // field          word bit width initial  key
    {F::RF_N,         0,   13, 11,   54,      "RF_N"},
    {F::RF_FN,        0,   1,  12,   772,     "RF_FN"},
    {F::R0_C,         0,   0,  1,    0,       "R0_C"},
    {F::RF_PD,        1,   23, 1,    0,       "RF_PD"},
    {F::RF_P,         1,   22, 1,    0,       "RF_P"},
    {F::RF_R,         1,   16, 6,    1,       "RF_R"},
    {F::RF_FD,        1,   4,  12,   2376,    "RF_FD"},
    {F::R1_C,         1,   0,  4,    3,       "R1_C"},
    {F::IF_PD,        2,   23, 1,    1,       "IF_PD"},
    {F::IF_N,         2,   4,  19,   15400,   "IF_N"},
    {F::R2_C,         2,   0,  4,    5,       "R2_C"},
    {F::ACCESS,       3,   20, 4,    15,      "ACCESS"},
    {F::RF_CPG,       3,   16, 4,    9,       "RF_CPG"},
    {F::IF_R,         3,   4,  12,   200,     "IF_R"},
    {F::R3_C,         3,   0,  4,    7,       "R3_C"},
    {F::ATPU,         4,   23, 1,    0,       "ATPU"},
    {F::R4_Fixed1,    4,   18, 5,    1,       "Fixed1"},
    {F::DITH,         4,   16, 2,    1,       "DITH"},
    {F::FM,           4,   14, 2,    3,       "FM"},
    {F::R4_Fixed2,    4,   13, 1,    0,       "Fixed2"},
    {F::OSC_2X,       4,   12, 1,    0,       "OSC_2X"},
    {F::OSC_OUT,      4,   11, 1,    0,       "OSC_OUT"},
    {F::IF_CPP,       4,   10, 1,    1,       "IF_CPP"},
    {F::RF_CPP,       4,   9,  1,    1,       "RF_CPP"},
    {F::IF_P,         4,   8,  1,    1,       "IF_P"},
    {F::MUX,          4,   4,  4,    1,       "MUX"},
    {F::R4_C,         4,   0,  4,    9,       "R4_C"},
    {F::R5_RF_FD,     5,   14, 10,   0,       "RF_FD"},
    {F::R5_RF_FN,     5,   4,  10,   0,       "RF_FN"},
    {F::R5_C,         5,   0,  4,    11,      "R5_C"},
    {F::CSR,          6,   22, 2,    1,       "CSR"},
    {F::RF_CPF,       6,   18, 4,    11,      "RF_CPF"},
    {F::RF_TOC,       6,   4,  14,   4,       "RF_TOC"},
    {F::R6_C,         6,   0,  4,    13,      "R6_C"},
    {F::R7_Fixed1,    7,   14, 10,   0,       "Fixed1"},
    {F::DIV4,         7,   13, 1,    0,       "DIV4"},
    {F::R7_Fixed2,    7,   8,  5,    9,       "Fixed2"},
    {F::IF_RST,       7,   7,  1,    1,       "IF_RST"},
    {F::RF_RST,       7,   6,  1,    0,       "RF_RST"},
    {F::IF_CPT,       7,   5,  1,    0,       "IF_CPT"},
    {F::RF_CPT,       7,   4,  1,    0,       "RF_CPT"},
    {F::R7_C,         7,   0,  4,    15,      "R7_C"},
}};
// clang-format on

// Each word's fields must cover its bits 23..0 exactly once, and every initial value must
// fit its field.
constexpr bool layoutIsConsistent()
{
    std::array<uint32_t, SynthRegisterCount> covered{};
    for (std::size_t i = 0; i < Layout.size(); ++i) {
        const SynthFieldEntry &s = Layout[i];
        if (static_cast<std::size_t>(s.field) != i || s.word < 0 || s.word >= SynthRegisterCount)
            return false;
        if (s.width < 1 || s.lowBit < 0 || s.lowBit + s.width > 24)
            return false;
        if (s.initial < 0 || s.initial > s.maxValue())
            return false;
        if (covered[s.word] & s.mask())
            return false;
        covered[s.word] |= s.mask();
    }
    for (uint32_t c : covered)
        if (c != SynthWordMask)
            return false;
    return true;
}
static_assert(layoutIsConsistent(), "every register word must be tiled by its fields");

constexpr Field wordField(int word)
{
    constexpr std::array<Field, SynthRegisterCount> Words{
        Field::R0, Field::R1, Field::R2, Field::R3, Field::R4, Field::R5, Field::R6, Field::R7};
    return Words[static_cast<std::size_t>(word)];
}

} // namespace

std::span<const SynthFieldEntry> synthFieldLayout()
{
    return Layout;
}

const SynthFieldEntry &synthFieldEntry(SynthField f)
{
    return Layout[static_cast<std::size_t>(f)];
}

QString synthSectionName(int word)
{
    return QStringLiteral("Reg %1").arg(word);
}

SynthFields::SynthFields()
{
    for (const SynthFieldEntry &s : Layout)
        (*this)[s.field] = s.initial;
}

uint32_t packSynthWord(const SynthFields &fields, int word)
{
    uint32_t w = 0;
    for (const SynthFieldEntry &s : Layout)
        if (s.word == word)
            w |= (static_cast<uint32_t>(fields[s.field]) << s.lowBit) & s.mask();
    return w;
}

SynthRegisters packSynthWords(const SynthFields &fields)
{
    SynthRegisters words{};
    for (int r = 0; r < SynthRegisterCount; ++r)
        words[static_cast<std::size_t>(r)] = packSynthWord(fields, r);
    return words;
}

SynthFields unpackSynthWords(const SynthRegisters &words)
{
    SynthFields fields;
    for (const SynthFieldEntry &s : Layout)
        fields[s.field] =
            static_cast<qint32>((words[static_cast<std::size_t>(s.word)] & s.mask()) >> s.lowBit);
    return fields;
}

SynthRegisters synthRegistersOf(const SettingsTable &table)
{
    SynthRegisters words{};
    for (int r = 0; r < SynthRegisterCount; ++r)
        words[static_cast<std::size_t>(r)] = table.value(wordField(r));
    return words;
}

void storeSynthRegister(SettingsTable &table, int word, uint32_t value)
{
    table.setValue(wordField(word), value);
}

void storeSynthRegisters(SettingsTable &table, const SynthRegisters &words)
{
    for (int r = 0; r < SynthRegisterCount; ++r)
        storeSynthRegister(table, r, words[static_cast<std::size_t>(r)]);
}

} // namespace rw
