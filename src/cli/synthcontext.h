#pragma once
// The synthesizer as the window would have it for a table file: the settings file of the
// current folder read (or the built-in values without one), then the table's register
// words taken in, as opening the file in the window does.

#include "synth/synthstate.h"

#include <QString>
#include <optional>

namespace rw {
class SettingsTable;
}

namespace rw::cli {

class SynthContext {
public:
    // Reads RW830KT2485E.ini of the current folder; what the reader reports goes to
    // standard error, and the values read before it are kept, as in the window.
    SynthContext();

    // Unpacks the table's register words and the spacing they imply.
    void takeRegisters(const SettingsTable &table);
    // The frequency the window shows for the table; empty where it shows none.
    QString shownFrequency(const SettingsTable &table);
    // The window's frequency entry; the window's message when the value is refused.
    std::optional<QString> enterFrequency(SettingsTable &table, const QString &text);

private:
    SynthState state_;
};

} // namespace rw::cli
