#include "installer/InstallerStartUp.h"

#include "installer/InstallerLog.h"
#include "installer/InstallerRegistry.h"

namespace hollarin {

namespace {
constexpr int kExitCode = 0;
constexpr const char* kLogName = "start-up";
}  // namespace

app::TCheckDialogRequest DpiWarningDialog(int dpi) {
    app::TCheckDialogRequest d;
    d.Caption = "Morvalt Monitor";
    d.Text = "The current screen resolution is : " + std::to_string(dpi) + " dpi !\r\n\r\n" +
             "Please select the default screen resolution of 96 dpi in order to ensure \r\n" +
             "the application is displayed correctly :\r\n" +
             "- click with right mouse button on the desktop\r\n" +
             "- select \"Properties\" from the pop-up menu\r\n" +
             "- select the tab \"Settings\" \r\n" +
             "- click the button \"Advanced\"\r\n" +
             "- select the tab \"General\"\r\n" +
             "- set-up the \"DPI-Settings\" to \"Normal (96 DPI)\"\r\n" +
             "- reboot your computer and start the application again\r\n\r\n";
    d.Button1 = "    Continue    ";
    d.Button2 = "    Cancel    ";
    d.CheckCaption = "do not show again";
    return d;
}

int RunInstaller(const std::vector<std::string>& arguments, IInstallerStartUi& ui, app::ISingleInstance& instance) {
    const TCommandLine commandLine = ParseCommandLine(arguments);

    if (!instance.CreateInstanceMutex()) {
        InstallerLog(kLogName, "another installer runs (" + instance.LastError() + "): bringing it forward");
        if (!instance.ShowPrevInstance()) InstallerLog(kLogName, "the running installer could not be reached");
        return kExitCode;
    }

    const int dpi = ui.ScreenLogicalDpi();
    if (dpi != kDesignDpi && !ReadDpiDialog()) {
        bool dontShow = false;
        const int answer = ui.ShowCheckDialog(DpiWarningDialog(dpi), dontShow);
        WriteDpiDialog(dontShow);
        if (answer != app::kDialogFirstButton) {
            instance.CloseInstanceMutex();
            return kExitCode;
        }
    }

    ui.CreateForms(commandLine);
    if (!instance.ListenForSecondStarts([&ui] { ui.ShowMainWindow(); }))
        InstallerLog(kLogName, "second starts cannot be answered: " + instance.LastError());
    ui.RunMessageLoop();
    instance.CloseInstanceMutex();
    return kExitCode;
}

}  // namespace hollarin
