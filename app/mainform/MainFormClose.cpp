// The closing, in its fixed order: AppClosing, every capture and web server stopped, the timers and the
// archive thread ended, window positions, list files and ini saved, then everything freed.
#include "app/mainform/MainForm.h"

#include <QCloseEvent>

#include "app/lists/http_server_list_file.h"
#include "app/lists/web_socket_list_file.h"
#include "app/mainform/IndexTemplate.h"
#include "app/settings/app_globals.h"
#include "app/settings/app_paths.h"
#include "app/settings/registry_store.h"
#include "app/settings/settings_ini.h"
#include "app/startup/SplashSettings.h"
#include "engine/settings/log_list.h"
#include "engine/settings/program_state.h"
#include "engine/util/monitors.h"

namespace app {

void TLumora_MainForm::closeEvent(QCloseEvent* event) {
    if (!closed_ && !ended_) FormClose();
    event->accept();
    CallIfSet(options_.Closed);
}

void TLumora_MainForm::FormClose() {
    closed_ = true;
    engine::AppClosing = true;
    try {
        StartStopAll(false);
    } catch (...) {
        EndProcess(kExitCloseFailed);
        return;
    }
    CallIfSet(options_.Parts.ShowWaitForm);
    log_.StopDraining();
    statusTimer_.stop();
    ksa_->SetEnabled(false);
    showTimer_.stop();
    minTimer_.stop();
    if (archiveThread_) archiveThread_->RequestStop();
    archiveThread_.reset();  // not waited for: it holds what it uses
    std::string error;
    if (!WriteSplashMonitor(engine::GetMonitorIndexAt(x(), y()), &error))
        WriteLog("splash.ini cannot be written - " + error, engine::kLogError);
    WriteFormOrigin("main", x(), y());
    WriteFormOrigin("lumora_main_min", x(), y());
    pipeServer_.close();

    if (listsLoaded_) {
        const std::shared_ptr<const TAppPaths> paths = AppPaths();
        SaveCaptureList();
        SaveWebSocketList(ListDocPool(), paths->WebSocketListFile, webSocketList_);
        SaveHttpServerList(ListDocPool(), paths->HttpServerListFile, webServers_.List());
    }
    if (!SaveIniFile(&error)) WriteLog("framewick.ini cannot be written - " + error, engine::kLogError);
    log_.WriteQueued();  // the list files' failures were queued: the log file gets them before the end

    webServers_.Free();
    for (const auto& socket : webSocketList_.Items()) {
        socket->Name.clear();
        socket->Graph.reset();
    }
    webSocketList_.Clear();
    while (captures_->List().Count() > 0) FreeCaptureEntry(*captures_->List().Items().front());
    SetListDocPool(nullptr);
    msPool_.reset();
    engine::LogList()->TakeAll();
    SetIndexPage(TIndexPage{});
    CallIfSet(options_.Parts.CloseWaitForm);
}
}  // namespace app
