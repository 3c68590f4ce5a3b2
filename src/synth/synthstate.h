#pragma once
// Everything the synthesizer keeps between events: the register fields and the
// frequency-plan variables that do not live in the settings table.

#include "synthfields.h"

namespace rw {

struct SynthState {
    SynthFields fields;
    qint32 OSCFreq = 14850000;     // Hz, the reference crystal
    qint32 CompareFreq = 14850000; // Hz, OSCFreq over the divider from the settings file
    qint32 ChannelSpaceHz = 6250;  // 2500, 5000, 6250, 10000 or 12500
    qint32 PrescalerModulus = 8;   // 8 when RF_P is 0, 16 when it is 1
};

} // namespace rw
