// The screen checks of the program start: a resolution other than 96 dpi gets a warning that the user
// may suppress for good (per instance) or answer with Cancel, which ends the program.
#pragma once

#include "app/startup/StartupUi.h"
#include "common/ScreenDpi.h"

namespace app {

// The warning shown at dpi.
TCheckDialogRequest DpiWarningDialog(int dpi);

// False when the program must end.
bool CheckScreen(IStartupUi& ui);

}  // namespace app
