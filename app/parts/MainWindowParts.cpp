#include "app/parts/MainWindowParts.h"

#include "app/lists/http_server_list_file.h"
#include "app/mainform/MainForm.h"
#include "app/parts/CapturePanelAdapter.h"
#include "app/parts/MainSettingsHost.h"
#include "app/parts/MainTrayIcon.h"
#include "app/parts/StatusBarAdapter.h"
#include "app/parts/ToolBarAdapter.h"
#include "app/parts/UserManual.h"
#include "app/settings/app_globals.h"
#include "app/settings/app_paths.h"
#include "app/windows/about_box/AboutForm.h"
#include "app/windows/about_box/MouseSensitiveLabel.h"  // AboutForm.h keeps QPointers of it
#include "app/windows/base/ModalRunner.h"
#include "app/windows/editors/CaptureSettings_Form.h"
#include "app/windows/editors/CaptureSourcePage.h"
#include "app/windows/editors/ScreenCapture_StreameSet_Form.h"
#include "app/windows/log_windows/MainLog_Form.h"
#include "app/windows/pickers/WndArea_Form.h"
#include "app/windows/pickers/WndList_Form.h"
#include "app/windows/base/FileChooser.h"
#include "app/windows/server_dialogs/HtmlCodeForm.h"
#include "app/windows/server_dialogs/HttpSetupForm.h"
#include "app/windows/server_dialogs/SetupWebSocketForm.h"
#include "app/windows/settings_dialog/SettingsForm.h"
#include "app/windows/small_windows/WaitFormWrappers.h"
#include "app/windows/small_windows/Wait_Form.h"
#include "engine/capture/job/ScreenCapture.h"
#include "engine/util/number_strings.h"

namespace app {
namespace {

void ShowManualAt(const QString& anchor) { ShowUserManual(anchor.toStdString()); }

}  // namespace

TMainWindowParts::TMainWindowParts()
    : chooser_(std::make_unique<TQtFileChooser>()),
      waitForm_(std::make_unique<TWait_Form>()),
      logWindow_(std::make_unique<TMainLog_Form>(std::make_unique<TMainLog>())),
      htmlForm_(std::make_unique<THtml_Form>()),
      httpSetup_(std::make_unique<THttpSetup_Form>(*chooser_, *htmlForm_,
                                                   [](const std::string& anchor) { ShowUserManual(anchor); })),
      wndList_(std::make_unique<TWndList_Form>()),
      wndArea_(std::make_unique<TWndArea_Form>()) {}

TMainWindowParts::~TMainWindowParts() { SetWaitFormTargets(nullptr, nullptr); }

void TMainWindowParts::Attach(TLumora_MainForm& form) {
    form_ = &form;
    SetWaitFormTargets(waitForm_.get(), &form);
    logWindow_->SetMainWindowHandle(form.WindowHandle());

    wsSetup_ = std::make_unique<TSetupWebSocket_Form>(form.WebSocketList());
    settingsHost_ = std::make_unique<TMainSettingsHost>(
        form, [this](TCaptureListEntry& entry, bool isNew) { return RunCaptureEditor(entry, isNew); });
    settings_ = std::make_unique<TSettings_Form>(*settingsHost_, *httpSetup_, *wsSetup_, *chooser_);

    TShareEditorContext share;
    share.HttpServers = &form.HttpServerList();
    share.CaptureList = &form.CaptureList();
    share.FileChooser = chooser_.get();
    share.HtmlForm = htmlForm_.get();
    share.AddHttpServer = [this] { settings_->AddHttpServer(); };
    share.EditHttpServer = [this](THttpServerEntry& entry) { settings_->EditHttpServer(entry, false); };
    share.SaveHttpServerList = [&form] {
        SaveHttpServerList(ListDocPool(), AppPaths()->HttpServerListFile, form.HttpServerList());
    };
    share.ShowHelp = ShowManualAt;
    shareEditor_ = std::make_unique<TScreenCapture_StreameSet_Form>(std::move(share));

    TCaptureEditorContext editor;
    editor.CaptureList = &form.CaptureList();
    editor.WebSocketList = &form.WebSocketList();
    editor.JobOf = [this](TCaptureListEntry& entry) { return workingCopy_.ViewOf(entry); };
    editor.ShareEditor = shareEditor_.get();
    editor.WndList = wndList_.get();
    editor.WndArea = wndArea_.get();
    editor.FileChooser = chooser_.get();
    editor.ShareTabs = &editedShareTabs_;
    editor.ShowHelp = ShowManualAt;
    editor.ReportError = [&form](const std::string& message) { form.ApplicationEvents1Exception(message); };
    captureEditor_ = std::make_unique<TCaptureSettings_Form>(std::move(editor));

    TTrayMenuActions tray;
    tray.ShowHide = [this] { TrayShowHide(); };
    tray.Settings = [this] { OpenSettingsFromTray(); };
    tray.Exit = [&form] { form.CloseApp(); };
    tray_ = std::make_unique<TMainTrayIcon>(&form, std::move(tray));
}

TMainFormParts TMainWindowParts::Parts() {
    TMainFormParts parts;
    parts.MakeCapturePanel = [this](TLumora_MainForm& form, std::shared_ptr<TCaptureService> service) {
        return MakeCapturePanel(form, std::move(service));
    };
    parts.MakeToolBar = [this](TLumora_MainForm& form) { return MakeToolBar(form); };
    parts.MakeStatusBar = [](TLumora_MainForm& form) -> std::unique_ptr<IStatusBar> {
        return std::make_unique<TStatusBarAdapter>([&form](bool keepPosition) { form.SetCompactMode(keepPosition); });
    };
    parts.EditNewCapture = [this](TCaptureListEntry& entry, engine::TScreenCapture&) {
        return RunCaptureEditor(entry, true);
    };
    parts.OpenSettingsDialog = [this](int monitor) { return OpenSettingsDialog(monitor); };
    parts.ShowAbout = [this] { ShowAbout(); };
    parts.WriteLog = [this](const std::string& text, uint8_t level) { logWindow_->WriteLog(text, level); };
    parts.ShowLogWindow = [this](bool show) {
        if (!show) {
            logWindow_->hide();
            return;
        }
        logWindow_->showNormal();
        logWindow_->raise();
    };
    parts.LogWindowMinimized = [this] { return logWindow_->isMinimized(); };
    parts.ShowWaitForm = [this] { app::ShowWaitForm(kWaitModeText, form_.data()); };
    parts.CloseWaitForm = [] { app::CloseWaitForm(); };
    parts.ShowTrayIcon = [this](bool on) { ShowTrayIcon(on); };
    return parts;
}

std::unique_ptr<ICapturePanel> TMainWindowParts::MakeCapturePanel(TLumora_MainForm& form,
                                                                   std::shared_ptr<TCaptureService> service) {
    TCapturePanelHooks hooks;
    hooks.StartStopHttpServers = [&form](bool start) { form.WebServers().StartStop(start); };
    hooks.EditCapture = [this](TCaptureListEntry& edited, engine::TScreenCapture&) {
        return RunCaptureEditor(edited, false);
    };
    hooks.SaveCaptureList = [&form] { form.SaveCaptureList(); };
    hooks.AdjustHeight = [&form] { form.AdjustHeight(); };
    hooks.FocusStatusBar = [&form] { form.FocusStatusBar(); };
    hooks.MainWindow = form.WindowHandle();
    return std::make_unique<TCapturePanelAdapter>(std::move(hooks), std::move(service));
}

std::unique_ptr<IToolBar> TMainWindowParts::MakeToolBar(TLumora_MainForm& form) {
    auto bar = std::make_unique<TToolBarAdapter>(ToolBarHooks(form));
    logWindow_->SetLogButton(&bar->Bar().Log_TB());  // closing the log window by hand releases the button
    return bar;
}

TToolBarHooks TMainWindowParts::ToolBarHooks(TLumora_MainForm& form) {
    TToolBarHooks hooks;
    hooks.StartStopAll = [&form](bool start) { form.StartStopAll(start); };
    hooks.AddCapture = [&form] {
        if (form.AddCapture()) form.AdjustHeight();
    };
    hooks.SaveCaptureList = [&form] { form.SaveCaptureList(); };
    hooks.ToggleLogWindow = [&form] { form.ToggleLogWindow(); };
    hooks.AnyPanelExpanded = [&form] { return form.AnyPanelExpanded(); };
    hooks.SetAllPanelsMinimized = [&form](bool minimize) { form.SetAllPanelsMinimized(minimize); };
    hooks.SelectSettingsPage = [this](int page) {
        if (settings_) settings_->SelectPage(page);
    };
    hooks.OpenSettings = [&form] { form.OpenSettings(); };
    hooks.ShowHelp = [](const std::string& anchor) { ShowUserManual(anchor); };
    hooks.ShowAbout = [&form] { form.ShowAbout(); };
    hooks.TrayShowHide = [this] { TrayShowHide(); };
    hooks.MinimizeMainWindow = [&form] { form.showMinimized(); };
    hooks.CloseApp = [&form] { form.CloseApp(); };
    return hooks;
}

bool TMainWindowParts::RunCaptureEditor(TCaptureListEntry& entry, bool isNew) {
    if (!captureEditor_) return false;
    TSetup_ScreenCapture_Frame& editor = *captureEditor_->Setup_ScreenCapture_Frame1;
    ICapturePanel* panel = form_ ? form_->Captures().PanelOf(entry) : nullptr;
    auto* adapter = dynamic_cast<TCapturePanelAdapter*>(panel);
    editedShareTabs_.SetPanel(adapter ? &adapter->Frame() : nullptr);
    workingCopy_.Take(entry.Capture);
    if (isNew) {
        editor.InitEditor(&entry);
    } else {
        editor.LoadCapture(entry.Idx);
        editor.CapturePage->Name_Edit->setText(QString::fromStdString(entry.Name));
        editor.CapturePage->Idx_Edit->setText(QString::fromStdString(engine::ZeroPadStr(std::to_string(entry.Idx), 2)));
        editor.CapturePage->AutoStart_CB->setChecked(entry.AutoStart);
        editor.CapturePage->Encoder_ComboBox->setEnabled(false);  // an existing service keeps its method
    }
    const bool ok = RunModal(*captureEditor_) == kModalOk;
    editor.CapturePage->Encoder_ComboBox->setEnabled(true);
    editedShareTabs_.SetPanel(nullptr);
    if (!ok) {
        workingCopy_.Drop();
        return false;
    }
    editor.StoreCapture(&entry);
    workingCopy_.WriteBack();
    entry.Name = editor.CapturePage->Name_Edit->text().toStdString();
    entry.AutoStart = editor.CapturePage->AutoStart_CB->isChecked();
    return true;
}

bool TMainWindowParts::OpenSettingsDialog(int monitor) {
    if (!settings_) return false;
    settings_->CentreOnMonitor(monitor);
    return RunModal(*settings_) == kModalOk;
}

void TMainWindowParts::OpenSettingsFromTray() {
    if (!form_) return;
    if (settings_) settings_->SelectPage(TSettings_Form::kPageGeneral);
    form_->OpenSettings();
}

bool TMainWindowParts::ShowMainFormAtStart() const { return !tray_ || tray_->ShowMainForm(); }

void TMainWindowParts::TrayShowHide() {
    if (tray_) tray_->ShowHide();
}

void TMainWindowParts::ShowTrayIcon(bool on) {
    if (tray_) tray_->SetShown(on);
}

void TMainWindowParts::ShowAbout() {
    TAboutForm about(form_.data());
    RunModal(about);
}

}  // namespace app
