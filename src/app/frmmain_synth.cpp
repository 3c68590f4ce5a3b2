// The synthesizer's part of the window: settings file, register words, frequency entry.
// (Placeholder steps until the synthesizer lands.)

#include "frmmain.h"

namespace rw
{

void TfmMain::wireSynthEditors() {}
bool TfmMain::LoadSynthSettings()
{
    return true;
}
void TfmMain::SaveSynthSettings() {}
void TfmMain::PackSynthRegisters() {}
void TfmMain::RefreshSynthesizer() {}
void TfmMain::ShowFrequency() {}
void TfmMain::edtFreqExit() {}

} // namespace rw
