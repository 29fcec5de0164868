// The settings sequence: everything stops, the settings dialog runs, OK saves the ini and the list
// files, and what ran before starts again.
#include "app/mainform/MainForm.h"

#include "app/lists/http_server_list_file.h"
#include "app/lists/web_socket_list_file.h"
#include "app/settings/app_globals.h"
#include "app/settings/app_paths.h"
#include "app/settings/settings_ini.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "engine/util/monitors.h"

namespace app {

void TLumora_MainForm::OpenSettings() {
    const bool oldNotifyIcon = engine::Settings()->NotifyIcon;
    for (const auto& [entry, panel] : captures_->Panels()) {
        const TCaptureService* service = captures_->ServiceOf(*entry);
        panel->RestartAfterEdit = service != nullptr && service->SwitchedOn();
    }
    webServers_.StartStop(false);
    StartStopAll(false);
    // The dialog comes up on the monitor that holds the main window's top-left corner.
    const int monitor = engine::GetMonitorIndexAt(x(), y());
    const bool ok = options_.Parts.OpenSettingsDialog && options_.Parts.OpenSettingsDialog(monitor);
    if (ok) {
        // A framewick.ini that cannot be written is reported; the lists are saved and what ran starts
        // again all the same.
        std::string error;
        if (!SaveIniFile(&error)) WriteLog("General error : framewick.ini cannot be written - " + error, engine::kLogError);
        const std::shared_ptr<const TAppPaths> paths = AppPaths();
        SaveWebSocketList(ListDocPool(), paths->WebSocketListFile, webSocketList_);
        SaveHttpServerList(ListDocPool(), paths->HttpServerListFile, webServers_.List());
        SaveCaptureList();
    }
    if (engine::AppClosing) return;
    webServers_.StartStop(true);
    for (TCaptureListEntry* entry : captures_->Entries()) {
        ICapturePanel* panel = captures_->IndexOf(entry) >= 0 ? captures_->PanelOf(*entry) : nullptr;
        if (panel == nullptr || !panel->RestartAfterEdit) continue;
        panel->RestartAfterEdit = false;  // before the start, which may free the panel while it waits
        captures_->StartStop(*entry, true);
    }
    if (engine::Settings()->NotifyIcon != oldNotifyIcon) {
        if (!engine::Settings()->NotifyIcon && isHidden()) show();
        if (options_.Parts.ShowTrayIcon) options_.Parts.ShowTrayIcon(engine::Settings()->NotifyIcon);
    }
    SetKsaTimer(engine::Settings()->DeactScreenSaver);
}
}  // namespace app
