// The windows of Framewick's main window, made once and plugged in through TMainFormParts: the capture
// panels, tool bar and status bar, the settings dialog with its server dialogs, the capture-service and
// share editors with the pickers, the log window, the wait window, the About box and the tray icon.
//
// Make it before the main window and keep it until the main window has gone: Parts() goes into the
// main window's options, Attach(form) follows the main window's construction (before FormCreate).
// User-interface thread only.
#pragma once

#include <QPointer>
#include <memory>

#include "app/mainform/MainFormParts.h"
#include "app/parts/EditedShareTabs.h"
#include "app/windows/editors/CaptureEditorContext.h"
#include "app/windows/toolbar/TopFrame.h"

namespace app {

class IFileChooser;
class TCaptureSettings_Form;
class THtml_Form;
class THttpSetup_Form;
class TMainLog_Form;
class TMainSettingsHost;
class TMainTrayIcon;
class TScreenCapture_StreameSet_Form;
class TSettings_Form;
class TSetupWebSocket_Form;
class TWait_Form;
class TWndArea_Form;
class TWndList_Form;

class TMainWindowParts {
public:
    TMainWindowParts();
    ~TMainWindowParts();
    TMainWindowParts(const TMainWindowParts&) = delete;
    TMainWindowParts& operator=(const TMainWindowParts&) = delete;

    TMainFormParts Parts();
    void Attach(TLumora_MainForm& form);

    // The capture-service editor for entry: InitEditor (new) or LoadCapture with the entry's name,
    // index and auto-start and the method choice locked; on OK StoreCapture, Name and AutoStart.
    bool RunCaptureEditor(TCaptureListEntry& entry, bool isNew);

    TMainLog_Form& LogWindow() { return *logWindow_; }
    TSettings_Form& SettingsDialog() { return *settings_; }
    TCaptureSettings_Form& CaptureEditor() { return *captureEditor_; }
    TMainTrayIcon* TrayIcon() { return tray_.get(); }
    // False while the tray icon keeps the program off the task bar.
    bool ShowMainFormAtStart() const;

private:
    std::unique_ptr<ICapturePanel> MakeCapturePanel(TLumora_MainForm& form, std::shared_ptr<TCaptureService> service);
    std::unique_ptr<IToolBar> MakeToolBar(TLumora_MainForm& form);
    TToolBarHooks ToolBarHooks(TLumora_MainForm& form);
    void OpenSettingsFromTray();
    void ShowTrayIcon(bool on);
    // What "_" and the tray menu's "Show/Hide" do.
    void TrayShowHide();
    bool OpenSettingsDialog(int monitor);
    void ShowAbout();

    QPointer<TLumora_MainForm> form_;
    std::unique_ptr<IFileChooser> chooser_;
    std::unique_ptr<TWait_Form> waitForm_;
    std::unique_ptr<TMainLog_Form> logWindow_;
    std::unique_ptr<THtml_Form> htmlForm_;
    std::unique_ptr<THttpSetup_Form> httpSetup_;
    std::unique_ptr<TSetupWebSocket_Form> wsSetup_;
    std::unique_ptr<TMainSettingsHost> settingsHost_;
    std::unique_ptr<TSettings_Form> settings_;
    std::unique_ptr<TWndList_Form> wndList_;
    std::unique_ptr<TWndArea_Form> wndArea_;
    std::unique_ptr<TScreenCapture_StreameSet_Form> shareEditor_;
    TEditedShareTabs editedShareTabs_;
    TCaptureWorkingCopy workingCopy_;  // what the open capture-service editor edits
    std::unique_ptr<TCaptureSettings_Form> captureEditor_;
    std::unique_ptr<TMainTrayIcon> tray_;
};

}  // namespace app
