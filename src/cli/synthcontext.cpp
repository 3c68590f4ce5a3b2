#include "synthcontext.h"
#include "base/settingsfile.h"

#include "console.h"
#include "model/settingstable.h"
#include "model/textrules.h"
#include "synth/frequency.h"
#include "synth/synthsettings.h"
#include "synth/synthtable.h"

#include <QDir>

namespace rw::cli {

SynthContext::SynthContext()
{
    const QString path = settingsFilePath(QDir::currentPath());
    const SynthLoadResult r = loadSynthSettings(path, state_);
    if (r.outcome != SynthLoadResult::Outcome::Complete)
        printError(path, QString(r.message).replace('\n', ' '));
}

void SynthContext::takeRegisters(const SettingsTable &table)
{
    refreshSynthFromTable(state_, table);
}

QString SynthContext::shownFrequency(const SettingsTable &table)
{
    takeRegisters(table);
    return frequencyText(state_);
}

std::optional<QString> SynthContext::enterFrequency(SettingsTable &table, const QString &text)
{
    const auto hz = parseInt32(text);
    if (!hz)
        return notAnIntegerMessage(text);
    const FrequencyEntry entry = applyFrequency(table, state_, *hz);
    if (!entry.accepted())
        return entry.message();
    return std::nullopt;
}

} // namespace rw::cli
