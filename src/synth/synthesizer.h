// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The synthesizer beside the settings table it belongs to: the working state (register
// fields, frequency plan, the settings-file lines to keep) and each step the window and
// the command line take with it, so both take them the same way.

#include "model/editrules.h"
#include "synthsettings.h"
#include "synthstate.h"

#include <QString>

namespace rw {

class SettingsTable;

class Synthesizer {
public:
    explicit Synthesizer(SettingsTable &table) : table_(table) {}

    // Reads the settings file of `folder` (RW830KT2485E.ini) into the state.
    SynthLoadResult readSettings(const QString &folder);
    // Writes it back; false when it could not be written (it then keeps its old content).
    bool writeSettings(const QString &folder) const;

    // All eight register words into the table from the fields (the start-up pack).
    void packIntoTable();
    // The fields from the table's words, and the spacing they imply (the refresh).
    void followTable();
    // The carrier the fields describe; empty when 32 bits cannot carry it.
    QString frequencyText() const;
    // The frequency entry of a typed text, as it stands (no blanks removed): a text that
    // is not a number is refused with the conversion error, a refused frequency with its
    // message; either way nothing changes.
    EditResult enterFrequency(const QString &text);

    const SynthState &state() const { return state_; }

private:
    SettingsTable &table_;
    SynthState state_;
};

} // namespace rw
