// The program block's user interface on Qt Widgets: the screen's resolution, the check-box warning,
// the splash window, the main window and the message loop.
#pragma once

#include <QApplication>
#include <functional>
#include <memory>

#include "app/mainform/MainForm.h"
#include "app/startup/StartupUi.h"
#include "app/windows/small_windows/SplashForm.h"

namespace app {

class TQtStartupUi final : public IStartupUi {
public:
    // makeMainForm builds the main window with the options of the program (its parts and hooks);
    // showMainForm tells whether the start shows it (the tray icon may say no), none: it does.
    TQtStartupUi(QApplication& application, std::function<std::unique_ptr<TLumora_MainForm>()> makeMainForm,
                 std::function<bool()> showMainForm = {});
    ~TQtStartupUi() override;

    int ScreenLogicalDpi() override;
    int ShowCheckDialog(const TCheckDialogRequest& request, bool& checked) override;
    void ShowSplash() override;
    void SetApplicationTitle(const std::string& title) override;
    void CreateForms() override;
    void ShowMainWindow() override;
    int RunMessageLoop() override;

    void CloseSplash();
    TLumora_MainForm* MainForm() const { return mainForm_.get(); }
    // The session ends (a signal): every modal loop ends as if cancelled, then the message loop, and
    // the main window's closing runs on the emptied stack, as its close button would have it run.
    void EndSession();

private:
    QApplication& application_;
    std::function<std::unique_ptr<TLumora_MainForm>()> makeMainForm_;
    std::function<bool()> showMainForm_;
    std::unique_ptr<TSplash_Form> splash_;
    std::unique_ptr<TLumora_MainForm> mainForm_;
    bool sessionEnding_ = false;
};

}  // namespace app
