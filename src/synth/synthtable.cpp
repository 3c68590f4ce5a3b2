// SPDX-License-Identifier: GPL-3.0-or-later
#include "synthtable.h"

#include "model/settingstable.h"

namespace rw {
namespace {

// The fields that a frequency entry sets, all in R0, R1 and R5.
constexpr std::array<SynthField, 6> FrequencyFields{SynthField::RF_N,     SynthField::RF_FN,
                                                    SynthField::R5_RF_FN, SynthField::RF_FD,
                                                    SynthField::R5_RF_FD, SynthField::RF_R};
constexpr std::array<int, 3> FrequencyWords{0, 1, 5};

} // namespace

void packSynthIntoTable(SynthState &state, SettingsTable &table)
{
    storeSynthRegisters(table, packSynthWords(state.fields));
    state.tableImagesFollowed = table.imageLoads();
}

void refreshSynthFromTable(SynthState &state, const SettingsTable &table)
{
    const SynthFields words = unpackSynthWords(synthRegistersOf(table));
    if (table.imageLoads() != state.tableImagesFollowed) {
        // A loaded table: its fields are what the user chose for this run.
        state.tableImagesFollowed = table.imageLoads();
        state.keptLines.fields.fill(false);
        state.keptLines.ChannelSpace = false;
    } else {
        // The table's words differ from the fields as packed only when they were never
        // packed from them (a start that stopped early): the value being replaced may be
        // the user's. A value the reading took in beyond its field's width (RF_FD of
        // "Reg 5" read as 4095 packs as 1023) is the run's own, cut as the table holds it.
        const SynthFields packed = unpackSynthWords(packSynthWords(state.fields));
        for (const SynthFieldEntry &s : synthFieldLayout())
            if (words[s.field] != packed[s.field])
                state.keptLines.setField(s.field, true);
    }
    state.fields = words;
    refreshSpacing(state);
}

FrequencyEntry applyFrequency(SettingsTable &table, SynthState &state, qint32 hz)
{
    const FrequencyEntry entry = enterFrequency(state, hz);
    if (!entry.accepted())
        return entry;
    table.setValue(Field::ChanSpacingCode, entry.spacing.code);
    for (int word : FrequencyWords) {
        const uint32_t value = packSynthWord(state.fields, word);
        storeSynthRegister(table, word, value);
        // The fields of the word as it now stands, each within its width.
        SynthRegisters words{};
        words[static_cast<std::size_t>(word)] = value;
        const SynthFields stored = unpackSynthWords(words);
        for (const SynthFieldEntry &s : synthFieldLayout())
            if (s.word == word)
                state.fields[s.field] = stored[s.field];
    }
    for (SynthField f : FrequencyFields)
        state.keptLines.setField(f, false);
    state.keptLines.ChannelSpace = false;
    return entry;
}

} // namespace rw
