// The alert profiles and function-bit alerts of the two hidden pages.
// (Placeholder steps until they land.)

#include "app/frmmain.h"

namespace rw {

void TfmMain::wireAlertEditors() {}
void TfmMain::ShowAlertProfiles() {}
void TfmMain::ShowFunBitAlerts() {}

} // namespace rw
