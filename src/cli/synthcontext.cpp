// SPDX-License-Identifier: GPL-3.0-or-later
#include "synthcontext.h"

#include "base/settingsfile.h"
#include "console.h"

#include <QDir>

namespace rw::cli {

SynthContext::SynthContext(SettingsTable &table) : Synthesizer(table)
{
    const SynthLoadResult r = readSettings(QDir::currentPath());
    if (r.outcome != SynthLoadResult::Outcome::Complete)
        printError(settingsFilePath(QDir::currentPath()), QString(r.message).replace('\n', ' '));
    followTable();
}

} // namespace rw::cli
