// The program's side of the installer's entry: the screen, the check-box warning dialog, the install
// and wait windows and the Qt event loop.
#pragma once

#include <chrono>
#include <memory>

#include "installer/InstallerHost.h"
#include "installer/InstallerStartUp.h"

namespace hollarin {

class TFaldrin_Install_Form;
class TWait_Form;

// How long the end of the event loop waits for a download or extraction thread to end (a transfer
// stops within about a second, an extraction within one block of its archive).
constexpr std::chrono::milliseconds kWorkersEndTimeout{10000};

class TInstallerApplication : public IInstallerStartUi {
public:
    TInstallerApplication();
    ~TInstallerApplication() override;

    int ScreenLogicalDpi() override;
    int ShowCheckDialog(const app::TCheckDialogRequest& request, bool& checked) override;
    void CreateForms(const TCommandLine& commandLine) override;
    void ShowMainWindow() override;
    void RunMessageLoop() override;

private:
    TQtInstallerHost host_;
    std::unique_ptr<TWait_Form> waitForm_;
    std::unique_ptr<TFaldrin_Install_Form> installForm_;
};

}  // namespace hollarin
