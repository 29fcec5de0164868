#include "app/startup/ScreenCheck.h"

#include <string>

#include "app/settings/registry_store.h"

namespace app {

TCheckDialogRequest DpiWarningDialog(int dpi) {
    TCheckDialogRequest d;
    d.Caption = "Screen Resolution Check";
    d.Text = "The current screen resolution is : " + std::to_string(dpi) + " dpi !\r\n\r\n" +
             "Please configure the default screen resolution of your PC to 96 dpi (equal to 100%) \r\n" +
             "in the Windows Control Panel in order to ensure the application gets displayed correctly.\r\n\r\n" +
             "Afterwards please reboot your computer and start the application again\r\n\r\n";
    d.Button1 = "    Continue    ";
    d.Button2 = "    Cancel    ";
    d.CheckCaption = "do not show again";
    return d;
}

bool CheckScreen(IStartupUi& ui) {
    const int dpi = ui.ScreenLogicalDpi();
    if (dpi != kDesignDpi && !ReadDpiDialog()) {
        bool doNotShowAgain = false;
        const int answer = ui.ShowCheckDialog(DpiWarningDialog(dpi), doNotShowAgain);
        WriteDpiDialog(doNotShowAgain);
        if (answer != kDialogFirstButton) return false;
    }
    // The second screen check looks for a font misconfiguration of one particular desktop system
    // that needs a repair and a reboot; there is none on this platform, so it passes.
    return true;
}

}  // namespace app
