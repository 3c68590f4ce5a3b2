// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The synthesizer of a table file as the window would have it: the settings file of the
// current folder read (or the built-in values without one), then the table's register
// words taken in, as opening the file in the window does.

#include "synth/synthesizer.h"

namespace rw::cli {

class SynthContext : public Synthesizer {
public:
    // What the settings file's reader reports goes to standard error, and the values read
    // before it are kept, as in the window.
    explicit SynthContext(SettingsTable &table);
};

} // namespace rw::cli
