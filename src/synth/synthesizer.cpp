// SPDX-License-Identifier: GPL-3.0-or-later
#include "synthesizer.h"

#include "base/settingsfile.h"
#include "frequency.h"
#include "model/textrules.h"
#include "synthtable.h"

namespace rw {

SynthLoadResult Synthesizer::readSettings(const QString &folder)
{
    return readSynthSettings(settingsFilePath(folder), state_);
}

bool Synthesizer::writeSettings(const QString &folder) const
{
    return writeSynthSettingsFile(settingsFilePath(folder), state_);
}

void Synthesizer::packIntoTable()
{
    packSynthIntoTable(state_, table_);
}

void Synthesizer::followTable()
{
    refreshSynthFromTable(state_, table_);
}

QString Synthesizer::frequencyText() const
{
    return rw::frequencyText(state_);
}

EditResult Synthesizer::enterFrequency(const QString &text)
{
    const auto hz = parseInt32(text);
    if (!hz)
        return {EditResult::Status::NotANumber, notAnIntegerMessage(text)};
    const FrequencyEntry entry = applyFrequency(table_, state_, *hz);
    if (!entry.accepted())
        return {EditResult::Status::Refused, entry.message()};
    return {};
}

} // namespace rw
