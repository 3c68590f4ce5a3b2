// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the synthesizer's fields meet the settings table: the start-up pack of all eight
// register words, the refresh that takes the fields back from the words, and the
// frequency entry as one call.

#include "frequency.h"
#include "synthstate.h"

namespace rw {

class SettingsTable;

// All eight words from the fields, as at start-up right after the settings file is read.
void packSynthIntoTable(SynthState &state, SettingsTable &table);

// The refresh: every field from the table's words, then the prescaler and the spacing
// they imply. When the table has taken in a whole image (a table file opened, a Read)
// since the fields last followed it, every register field and the spacing are the run's
// own; otherwise a field whose value the words change keeps its line in the settings
// file (KeptSettingsLines).
void refreshSynthFromTable(SynthState &state, const SettingsTable &table);

// The frequency entry: chooses the spacing for carrier `hz`, computes RF_N, both parts of
// RF_FN and RF_FD and RF_R, and stores the words that carry them (R0, R1, R5) and the
// spacing code ChanSpacingCode into the table. Every other field and word keeps its
// value. A refused frequency changes nothing; the result's message() says why.
FrequencyEntry applyFrequency(SettingsTable &table, SynthState &state, qint32 hz);

} // namespace rw
