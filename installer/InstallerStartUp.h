// Hollarin's program entry: one installer at a time, the warning about a screen resolution other than
// 96 dpi, the install and wait windows and the message loop. The exit code is always 0: Framewick
// learns nothing from it and finds the libraries at its next start.
#pragma once

#include <string>
#include <vector>

#include "common/CheckDialog.h"
#include "common/SingleInstance.h"
#include "installer/CommandLine.h"

namespace hollarin {

inline constexpr const char* kInstallerMutexName = "Pellorin_Morvalt_downloader_";
// The install window's caption (a second installer brings that window forward).
inline constexpr const char* kInstallWindowCaption = "Morvalt - plug-in installation";
constexpr int kDesignDpi = 96;

// What the entry needs of the windows; the program's is TInstallerApplication, tests use a fake.
class IInstallerStartUi {
public:
    virtual ~IInstallerStartUi() = default;
    virtual int ScreenLogicalDpi() = 0;
    // Modal; checked carries the box's state in and out. app::kDialogFirstButton for "Continue".
    virtual int ShowCheckDialog(const app::TCheckDialogRequest& request, bool& checked) = 0;
    // Creates the install window and then the wait window.
    virtual void CreateForms(const TCommandLine& commandLine) = 0;
    // Brings the install window to the user (restored when minimised, else raised and activated).
    virtual void ShowMainWindow() = 0;
    // Runs until the install window has closed.
    virtual void RunMessageLoop() = 0;
};

// The warning shown at dpi, its check box bound to "do not show again".
app::TCheckDialogRequest DpiWarningDialog(int dpi);

// Runs the entry with the arguments after the program name; returns the exit code (0).
int RunInstaller(const std::vector<std::string>& arguments, IInstallerStartUi& ui, app::ISingleInstance& instance);

}  // namespace hollarin
