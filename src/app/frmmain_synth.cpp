// The synthesizer's part of the window: the settings file, the register words and the
// frequency entry. The arithmetic and the file rules live in synth/; these handlers read
// the edit, call them, store into the table and show what they report.

#include "dialogs.h"
#include "editors/numericedit.h"
#include "frmmain.h"
#include "model/settingstable.h"
#include "model/textrules.h"
#include "synth/frequency.h"
#include "synth/synthsettings.h"

#include <QLineEdit>

namespace rw {

void TfmMain::wireSynthEditors()
{
    attachNumericEditCycle(
        edtFreq, dialogs_, [this] { parkFocus(); }, [this] { edtFreqExit(); });
}

bool TfmMain::LoadSynthSettings()
{
    const SynthLoadResult r = loadSynthSettings(synthSettingsPath(programDirectory()), synth);
    switch (r.outcome) {
    case SynthLoadResult::Outcome::Complete:
        break;
    case SynthLoadResult::Outcome::Refused:
        dialogs_.plain(r.message);
        break;
    case SynthLoadResult::Outcome::NotANumber:
        dialogs_.errorReport(r.message);
        return false;
    }
    return true;
}

void TfmMain::SaveSynthSettings()
{
    // A file that cannot be written keeps its old content; nothing is reported.
    saveSynthSettings(synthSettingsPath(programDirectory()), synth);
}

void TfmMain::PackSynthRegisters()
{
    storeSynthRegisters(table_, packSynthRegisters(synth.fields));
}

void TfmMain::UnpackSynthRegisters()
{
    synth.fields = unpackSynthRegisters(synthRegistersOf(table_));
}

void TfmMain::RefreshSynthesizer()
{
    UnpackSynthRegisters();
    refreshSpacing(synth);
    ShowFrequency();
}

void TfmMain::ShowFrequency()
{
    // Empty when the words describe no frequency the edit can show in full.
    edtFreq->setText(frequencyText(synth));
}

void TfmMain::edtFreqExit()
{
    // Entering the edit emptied it: left as it is, the frequency comes back unchanged.
    const QString text = edtFreq->text();
    if (text.isEmpty()) {
        ShowFrequency();
        return;
    }
    const auto hz = parseInt32(text);
    if (!hz) {
        dialogs_.errorReport(notAnIntegerMessage(text));
        ShowFrequency();
        return;
    }
    const FrequencyEntry entry = enterFrequency(synth, *hz);
    if (!entry.accepted()) {
        dialogs_.warn(frequencyRefusalMessage(entry.refusal));
        edtFreq->setFocus(Qt::OtherFocusReason);
        return;
    }
    table_.setValue(Field::ChanSpacingCode, entry.spacing.code);
    // Only the words that carry the frequency fields are rewritten.
    for (int word : {0, 1, 5})
        storeSynthRegister(table_, word, packSynthRegister(synth.fields, word));
    UnpackSynthRegisters();
    ShowFrequency();
}

} // namespace rw
