// The synthesizer's part of the window: the settings file, the register words and the
// frequency entry. The arithmetic and the file rules live in synth/; these handlers read
// the edit, call them and show what they report.

#include "base/settingsfile.h"
#include "editors/dialogs.h"
#include "editors/numericedit.h"
#include "frmmain.h"
#include "model/textrules.h"
#include "synth/synthsettings.h"
#include "synth/synthtable.h"

#include <QLineEdit>

namespace rw {

void TfmMain::wireSynthEditors()
{
    attachNumericEditCycle(
        edtFreq, dialogs_, [this] { parkFocus(); }, [this] { edtFreqExit(); });
}

bool TfmMain::LoadSynthSettings()
{
    const SynthLoadResult r = loadSynthSettings(settingsFilePath(programDirectory()), synth);
    switch (r.outcome) {
    case SynthLoadResult::Outcome::Complete:
        break;
    case SynthLoadResult::Outcome::Refused:
    case SynthLoadResult::Outcome::NotRead:
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
    saveSynthSettings(settingsFilePath(programDirectory()), synth);
}

void TfmMain::PackSynthRegisters()
{
    packSynthIntoTable(synth, table_);
}

void TfmMain::RefreshSynthesizer()
{
    refreshSynthFromTable(synth, table_);
    ShowFrequency();
}

void TfmMain::ShowFrequency()
{
    // Empty when the words describe no frequency that 32 bits can carry.
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
    const FrequencyEntry entry = applyFrequency(table_, synth, *hz);
    if (!entry.accepted()) {
        dialogs_.warn(entry.message());
        edtFreq->setFocus(Qt::OtherFocusReason);
        return;
    }
    ShowFrequency();
}

} // namespace rw
