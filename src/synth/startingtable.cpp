// SPDX-License-Identifier: GPL-3.0-or-later
#include "startingtable.h"

#include "model/settingstable.h"
#include "synthesizer.h"

namespace rw {

SynthLoadResult loadStartingTable(SettingsTable &table, const QString &folder)
{
    table = SettingsTable();
    Synthesizer synth(table);
    const SynthLoadResult r = synth.readSettings(folder);
    if (r.outcome != SynthLoadResult::Outcome::NotANumber)
        synth.packIntoTable();
    return r;
}

} // namespace rw
