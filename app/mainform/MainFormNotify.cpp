// What reaches the main window while it runs: the engine's wmCaptureNotify, the status bar's refresh,
// the capture jobs' log and restart events and the exceptions that reached the message loop.
#include "app/mainform/MainForm.h"

#include "app/log/LogQueue.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"

namespace app {

void TLumora_MainForm::ApplicationEvents1Exception(const std::string& message) {
    if (engine::AppClosing) {
        EndProcess(kExitCloseFailed);  // half-freed: nothing can be trusted any more
        return;
    }
    WriteLog("General error : " + message, engine::kLogError);
}

void TLumora_MainForm::StatusTimerTimer() {
    TMainStatus status;
    status.Captures = static_cast<int>(captures_->List().Count());
    status.AnyCaptureRunning = captures_->AnyRunning();
    for (const auto& [entry, panel] : captures_->Panels()) panel->RefreshHttpState();
    status.KeepAwake = engine::Settings()->DeactScreenSaver;
    status.WebSockets = static_cast<int>(webSocketList_.Count());
    for (const auto& socket : webSocketList_.Items())
        if (socket->Active) status.AnyWebSocketActive = true;
    status.WebServers = static_cast<int>(webServers_.List().Count());
    status.AnyWebServerListening = webServers_.AnyListening();
    if (statusBar_) statusBar_->ShowStatus(status);
}

void TLumora_MainForm::WriteLog(const std::string& text, uint8_t level) { log_.Write(text, level); }

void TLumora_MainForm::HandleCaptureLog(const std::string& text, uint8_t level) {
    QueueLogEntry(*engine::LogList(), text, level);
}

void TLumora_MainForm::HandleCaptureRestart(engine::TScreenCapture& sender) {
    if (TCaptureListEntry* entry = captures_->FindByCapture(&sender))
        if (ICapturePanel* panel = captures_->PanelOf(*entry)) panel->ShowCapture();
}

void TLumora_MainForm::WMCaptureNotify(intptr_t wParam, intptr_t lParam) {
    switch (wParam) {
        case engine::kCnDeleteCapture: {
            // The entry's Idx: an entry deleted meanwhile is simply no longer found.
            TCaptureListEntry* entry = captures_->FindByIdx(static_cast<int32_t>(lParam));
            if (entry == nullptr) return;
            FreeCaptureEntry(*entry);
            AdjustHeight();
            SaveCaptureList();
            return;
        }
        case engine::kCnImageData:
        case engine::kCnVideoData:
        case engine::kCnFileData:
            if (statusBar_) statusBar_->LightDataLed(wParam);
            return;
        case engine::kCnHttpRequest:
        case engine::kCnHttpSend: {
            engine::TCaptureStreamer* share = captures_->FindShareById(lParam);  // may have gone since it was posted
            if (share == nullptr || !share->Active) return;
            for (const auto& entry : captures_->List().Items()) {
                ICapturePanel* panel = captures_->PanelOf(*entry);
                if (panel == nullptr || entry->Idx != share->CaptureIdx) continue;
                if (wParam == engine::kCnHttpRequest) panel->LightShareHttpRequest(*share);
                else panel->LightShareHttpSend(*share);
            }
            return;
        }
        default:
            return;
    }
}
}  // namespace app
