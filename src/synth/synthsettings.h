// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The synthesizer's settings file: the oscillator frequency, the channel spacing and the
// register fields, carried between runs. The reader checks each value it takes back and
// stops at the first that is empty or refused; the window shows what it reports.

#include "synthstate.h"

#include <QString>

namespace rw {

class ProfileFile;

struct SynthLoadResult {
    enum class Outcome {
        Complete,   // every key read
        Refused,    // a value was empty or out of range: `message` in a plain box
        NotANumber, // a value was not a number: `message` in the general error report
        NotRead,    // the file is too large to be a settings file: every key took its
                    // default text, and `message` in a plain box says so
    };
    Outcome outcome = Outcome::Complete;
    QString message;
    // For a value out of its range: which file and key hold it and what to do, for the
    // line below the message. Empty otherwise.
    QString advice;

    bool conversionError() const { return outcome == Outcome::NotANumber; }
};

// Reads the keys in their order into `state`. Values read before a failing key are kept;
// the failing key and all after it keep what `state` held, and their lines in the file
// are to stay as they are (KeptSettingsLines).
SynthLoadResult readSynthSettings(const ProfileFile &file, SynthState &state);
SynthLoadResult readSynthSettings(const QString &path, SynthState &state);

// Writes every key, the control bits and fixed fields included, in the writing order,
// except the keys for which the run holds no value of the user's (KeptSettingsLines):
// their lines stay as the file holds them.
void writeSynthSettings(ProfileFile &file, const SynthState &state);
// False when the file could not be written; it then keeps its old content.
bool writeSynthSettingsFile(const QString &path, const SynthState &state);

} // namespace rw
