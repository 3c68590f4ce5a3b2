// Table files: Open, Save and Save As.
// (Placeholder steps until table files land.)

#include "frmmain.h"

namespace rw
{

void TfmMain::wireTableFiles() {}
void TfmMain::mnuOpenClick() {}
void TfmMain::mnuSaveClick() {}
void TfmMain::mnuSaveAsClick() {}

} // namespace rw
