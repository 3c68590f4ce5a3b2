// The transmitter link's part of the window: port list, Read and Write.
// (Placeholder steps until the link lands.)

#include "frmmain.h"

namespace rw {

void TfmMain::wireLinkControls() {}
void TfmMain::EnumerateComPorts() {}
void TfmMain::mnuReadClick() {}
void TfmMain::mnuWriteClick() {}

} // namespace rw
