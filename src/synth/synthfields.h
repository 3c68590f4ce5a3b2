// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The eight 24-bit register words of the transmitter's frequency synthesizer and the
// fields they carry. One table says where each field lies, how wide it is, what it holds
// at start and which key of the settings file names it; packing, unpacking, the settings
// file and the tests all read that table.

#include <QString>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace rw {

class SettingsTable;

// Every field of R0..R7, word by word, most significant bits first.
// clang-format off
enum class SynthField {
    RF_N, RF_FN, R0_C,                                        // R0
    RF_PD, RF_P, RF_R, RF_FD, R1_C,                           // R1
    IF_PD, IF_N, R2_C,                                        // R2
    ACCESS, RF_CPG, IF_R, R3_C,                               // R3
    ATPU, R4_Fixed1, DITH, FM, R4_Fixed2, OSC_2X, OSC_OUT,    // R4
    IF_CPP, RF_CPP, IF_P, MUX, R4_C,
    R5_RF_FD, R5_RF_FN, R5_C,                                 // R5: high parts of FD and FN
    CSR, RF_CPF, RF_TOC, R6_C,                                // R6
    R7_Fixed1, DIV4, R7_Fixed2, IF_RST, RF_RST, IF_CPT, RF_CPT, R7_C, // R7
    Count
};
// clang-format on
constexpr int SynthFieldCount = static_cast<int>(SynthField::Count);
constexpr int SynthRegisterCount = 8;
constexpr uint32_t SynthWordMask = 0xFFFFFF; // the register bits of a stored word

struct SynthFieldEntry {
    SynthField field;
    int word;   // 0..7: R0..R7, also section "Reg <word>" of the settings file
    int lowBit; // the field's least significant bit within the word
    int width;  // bits
    qint32 initial;
    std::string_view key; // the key in the settings file

    constexpr uint32_t mask() const { return ((uint32_t(1) << width) - 1) << lowBit; }
    constexpr qint32 maxValue() const { return qint32((uint32_t(1) << width) - 1); }
};

std::span<const SynthFieldEntry> synthFieldLayout();
const SynthFieldEntry &synthFieldEntry(SynthField f);
// "Reg 0" .. "Reg 7".
QString synthSectionName(int word);

// One value per field, right-aligned. A new record holds the initial values.
struct SynthFields {
    SynthFields();
    qint32 &operator[](SynthField f) { return values[static_cast<std::size_t>(f)]; }
    qint32 operator[](SynthField f) const { return values[static_cast<std::size_t>(f)]; }
    bool operator==(const SynthFields &) const = default;

    std::array<qint32, SynthFieldCount> values{};
};

using SynthRegisters = std::array<uint32_t, SynthRegisterCount>;

// Each field is reduced to its own width before it is shifted into place, so no value
// ever reaches a neighbouring field or bits 31..24: a value too wide for its field (the
// settings file accepts up to 4095 for the 10-bit fields of R5) keeps its low bits.
uint32_t packSynthWord(const SynthFields &fields, int word);
SynthRegisters packSynthWords(const SynthFields &fields);
// Bits 31..24 of a stored word are ignored.
SynthFields unpackSynthWords(const SynthRegisters &words);

// The words as the settings table holds them.
SynthRegisters synthRegistersOf(const SettingsTable &table);
void storeSynthRegister(SettingsTable &table, int word, uint32_t value);
void storeSynthRegisters(SettingsTable &table, const SynthRegisters &words);

} // namespace rw
