// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the synthesizer keeps between events: the register fields and the
// frequency-plan variables that do not live in the settings table.

#include "synthfields.h"

#include <array>

namespace rw {

// The keys of the settings file for which the run holds no value of the user's, so the
// close leaves the file's lines for them as they are (and adds none):
// - the keys the start-up reading never took in because a value ended it early: the key
//   of that value and every key after it;
// - after a start that stopped before the fields were packed into the table, the fields
//   that a later refresh replaced with the table's own words.
// A key becomes the run's own again when this run sets its value: a frequency entry sets
// the frequency fields and the spacing, a table loaded from a file or the transmitter
// every register field and the spacing. Nothing but the reading sets the oscillator.
struct KeptSettingsLines {
    bool OSCFreq = false;
    bool ChannelSpace = false;
    std::array<bool, SynthFieldCount> fields{};

    bool field(SynthField f) const { return fields[static_cast<std::size_t>(f)]; }
    void setField(SynthField f, bool kept) { fields[static_cast<std::size_t>(f)] = kept; }
};

struct SynthState {
    SynthFields fields;
    qint32 OSCFreq = 14850000;     // Hz, the reference crystal
    qint32 CompareFreq = 14850000; // Hz, OSCFreq over the divider from the settings file
    qint32 ChannelSpaceHz = 6250;  // 2500, 5000, 6250, 10000 or 12500
    qint32 PrescalerModulus = 8;   // 8 when RF_P is 0, 16 when it is 1

    KeptSettingsLines keptLines;
    // How many whole images the settings table had taken in when the fields last followed
    // it (SettingsTable::imageLoads): a new one means a table was loaded.
    quint64 tableImagesFollowed = 0;
};

} // namespace rw
