// SPDX-License-Identifier: GPL-3.0-or-later
// The synthesizer's part of the window: the settings file, the register words and the
// frequency entry. The state and every rule live in synth/ (Synthesizer); these handlers
// read the edit, call it and show what it reports.

#include "editors/dialogs.h"
#include "editors/numericedit.h"
#include "frmmain.h"
#include "synth/frequency.h"

#include <QLineEdit>

namespace rw {

void TfmMain::wireSynthEditors()
{
    const NumericEditWords words{
        acceptedFrequencyText(), [this] { return storedFrequencyText(synth_.frequencyText()); },
        [this](QLineEdit *edit, const QString &stored) { fieldCommitted(edit, stored); }};
    attachNumericEditCycle(
        edtFreq, dialogs_, [this] { parkFocus(); }, [this] { edtFreqExit(); }, words);
}

bool TfmMain::LoadSynthSettings()
{
    const SynthLoadResult r = synth_.readSettings(programDirectory());
    switch (r.outcome) {
    case SynthLoadResult::Outcome::Complete:
        break;
    case SynthLoadResult::Outcome::Refused:
    case SynthLoadResult::Outcome::NotRead:
        dialogs_.plain(r.advice.isEmpty() ? r.message
                                          : r.message + QStringLiteral("\n\n") + r.advice);
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
    synth_.writeSettings(programDirectory());
}

void TfmMain::PackSynthRegisters()
{
    synth_.packIntoTable();
}

void TfmMain::RefreshSynthesizer()
{
    synth_.followTable();
    ShowFrequency();
}

void TfmMain::ShowFrequency()
{
    // Empty when the words describe no frequency that 32 bits can carry.
    edtFreq->setText(synth_.frequencyText());
}

void TfmMain::edtFreqExit()
{
    // Intended differences from the other numeric edits: the text is compared with the
    // empty text as it stands (blanks are not removed), and after a conversion error the
    // frequency is shown again.
    const QString text = edtFreq->text();
    if (text.isEmpty()) {
        ShowFrequency();
        return;
    }
    const EditResult r = synth_.enterFrequency(text);
    if (showEditResult(r, edtFreq, dialogs_) || r.status == EditResult::Status::NotANumber)
        ShowFrequency();
    recordEdit();
}

} // namespace rw
