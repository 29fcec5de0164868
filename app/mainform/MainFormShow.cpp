// The main window's first showing: the libVLC check, its place on the screen, the start line of the
// log, the bars, the list files and, with no capture service, the editor for a first one.
#include "app/mainform/MainForm.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <chrono>

#include "app/lists/capture_list_file.h"
#include "app/lists/http_server_list_file.h"
#include "app/lists/web_socket_list_file.h"
#include "app/settings/app_globals.h"
#include "app/settings/app_paths.h"
#include "app/settings/registry_store.h"
#include "components/InitialWindowState.h"
#include "engine/settings/name_routines.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"

namespace app {
namespace {

std::string NowText() {
    const TLocaleSettings locale = LocaleSettings();
    return engine::FormatLocalTime(std::chrono::system_clock::now(), locale.DateFormat + " " + locale.TimeFormat);
}

}  // namespace

// The show event comes before the window is mapped: what it sets goes with the map.
void TLumora_MainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // A window the window manager restored from minimised would otherwise map minimised again.
    if (!isMinimized()) components::TInitialWindowState::SetNormal(*this);
    BeginFirstShowing();
}

void TLumora_MainForm::BeginFirstShowing() {
    if (shown_) return;
    shown_ = true;
    // In its place before it is first mapped, so the window manager puts it nowhere else first.
    PlaceWindow();
    // Out of the show event: the first showing may open dialogs.
    QTimer::singleShot(0, this, [this] { FormShow(); });
}

TLibVlcCheck TLumora_MainForm::MakeLibVlcCheck() {
    TLibVlcCheckServices services;
    if (options_.FindInstalledVlc) services.FindInstalledVlc = options_.FindInstalledVlc;
    services.Dialogs = dialogs_.get();
    services.Starter = starter_.get();
    services.InstallerPath = AppPaths()->InstallDir + kInstallerFileName;
    services.CloseSplash = [this] { CloseSplash(); };
    services.ShowWaitForm = options_.Parts.ShowWaitForm;
    services.CloseWaitForm = options_.Parts.CloseWaitForm;
    return TLibVlcCheck(AppPaths()->LibVlcDir, std::move(services));
}

bool TLumora_MainForm::RunLibVlcCheck() {
    if (engine::VlcMissing) return true;
    if (MakeLibVlcCheck().Run() == TLibVlcCheckResult::EndProgram) {
        EndProcess(kExitVlcDownload);
        return false;
    }
    return true;
}

bool TLumora_MainForm::FormShow() {
    StartTimer(statusTimer_, kMainStatusTimerMs, false, &TLumora_MainForm::StatusTimerTimer);
    if (!RunLibVlcCheck()) return false;
    // The session may end while a question of the check is open: the closing follows, nothing more starts.
    if (engine::AppClosing) return false;
    WriteLog("Framewick Start [" + NowText() + "]", engine::kLogSystem);
    if (toolBar_) toolBar_->InitToolBar();
    if (statusBar_) statusBar_->InitStatusBar();
    LoadLists();
    if (captures_->List().Count() == 0) {
        CloseSplash();
        AddCapture();
        // A session end cancels the editor: that is the closing (which saves), not the hard exit.
        if (engine::AppClosing) return false;
        SaveCaptureList();
        if (captures_->List().Count() == 0) {
            EndProcess(kExitNoCapture);
            return false;
        }
    }
    StartTimer(showTimer_, kShowTimerMs, true, &TLumora_MainForm::ShowTimerTimer);
    StartTimer(minTimer_, kMinTimerMs, true, &TLumora_MainForm::MinTimerTimer);
    FocusStatusBar();
    return true;
}

void TLumora_MainForm::PlaceWindow() {
    int left = 0;
    int top = 0;
    if (!ReadFormOrigin("main", left, top)) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, width(), height());
        left = std::max(0, area.left() + (area.width() - width()) / 2);
        top = std::max(0, area.top() + (area.height() - height()) / 2);
    }
    move(left, top);
}

void TLumora_MainForm::LoadLists() {
    std::lock_guard lock(engine::GlobalLock());
    const std::shared_ptr<const TAppPaths> paths = AppPaths();
    app::LoadHttpServerList(ListDocPool(), paths->HttpServerListFile, *this, webServers_.List());
    app::LoadWebSocketList(ListDocPool(), paths->WebSocketListFile, *this, webSocketList_);
    app::LoadCaptureList(ListDocPool(), paths->CaptureListFile, *this, webServers_.List(), webSocketList_, captures_->List());
    for (const auto& entry : captures_->List().Items()) ShowLoadedCapture(*entry);
    archiveHandOver_.SetCaptureIndices(captures_->Indices());
    listsLoaded_ = true;
}
}  // namespace app
