// What reaches the main window while it runs: the engine's wmCaptureNotify, the log queue drained once
// a second, the status bar's refresh, the capture jobs' and web servers' log and restart events, the
// disk guard's stop and the exceptions that reached the message loop.
#include "app/mainform/MainForm.h"

#include "app/log/LogQueue.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"

namespace app {

void TLumora_MainForm::LogTimerTimer() {
    if (engine::AppClosing) return;
    WriteQueuedLog();
}

void TLumora_MainForm::WriteQueuedLog() {
    for (engine::TLogListEntry& entry : engine::LogList()->TakeAll()) WriteLog(entry.Text, entry.Level);
}

void TLumora_MainForm::ApplicationEvents1Exception(const std::string& message) {
    if (engine::AppClosing) {
        EndProcess(kExitCloseFailed);  // half-freed: nothing can be trusted any more
        return;
    }
    WriteLog("General error : " + message, engine::kLogError);
}

bool TLumora_MainForm::AnyCaptureRunning() const {
    for (const auto& entry : captureList_.Items())
        if (entry->Capture && entry->Capture->Running) return true;
    return false;
}

void TLumora_MainForm::StatusTimerTimer() {
    TMainStatus status;
    status.Captures = static_cast<int>(captureList_.Count());
    status.AnyCaptureRunning = AnyCaptureRunning();
    for (const auto& [entry, panel] : panels_) panel->RefreshHttpState();
    status.KeepAwake = engine::Settings()->DeactScreenSaver;
    status.WebSockets = static_cast<int>(webSocketList_.Count());
    for (const auto& socket : webSocketList_.Items())
        if (socket->Active) status.AnyWebSocketActive = true;
    status.WebServers = static_cast<int>(httpServerList_.Count());
    for (const auto& server : httpServerList_.Items())
        if (server->Server && server->Server->Listening()) status.AnyWebServerListening = true;
    if (statusBar_) statusBar_->ShowStatus(status);
}

void TLumora_MainForm::WriteLog(const std::string& text, uint8_t level) {
    if (options_.Parts.WriteLog) options_.Parts.WriteLog(text, level);
    else log_.WriteLog(text, level);
}

void TLumora_MainForm::HandleCaptureLog(const std::string& text, uint8_t level) {
    QueueLogEntry(*engine::LogList(), text, level);
}

void TLumora_MainForm::HandleHttpServerLog(const engine::TCaptureHttpServer& sender, const std::string& text) {
    QueueLogEntry(*engine::LogList(),
                  "HTTP [" + engine::IpAddrToText(sender.IpAddr()) + ":" + std::to_string(sender.Port()) + "] - " + text,
                  engine::kLogInfo);
}

void TLumora_MainForm::HandleCaptureRestart(engine::TScreenCapture& sender) {
    if (TCaptureListEntry* entry = FindEntryByCapture(&sender))
        if (ICapturePanel* panel = PanelOf(*entry)) panel->ShowCapture();
}

void TLumora_MainForm::StopCapturesForDiskSpace(const std::vector<int32_t>& indices) {
    for (int32_t idx : indices)
        for (const auto& entry : captureList_.Items())
            if (entry->Idx == idx)
                if (const auto capture = entry->Capture) capture->Stop();
}

engine::TCaptureStreamer* TLumora_MainForm::FindShareById(engine::TShareId id) const {
    if (id == 0) return nullptr;
    for (const auto& entry : captureList_.Items())
        if (entry->Capture)
            for (const engine::PCaptureStreamer& share : entry->Capture->Streamers->Items())
                if (share->Index == id) return share.get();
    return nullptr;
}

void TLumora_MainForm::WMCaptureNotify(intptr_t wParam, intptr_t lParam) {
    switch (wParam) {
        case engine::kCnDeleteCapture: {
            // The entry's Idx: an entry deleted meanwhile is simply no longer found.
            TCaptureListEntry* entry = FindEntryByIdx(static_cast<int32_t>(lParam));
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
            engine::TCaptureStreamer* share = FindShareById(lParam);  // may have gone since it was posted
            if (share == nullptr || !share->Active) return;
            for (const auto& entry : captureList_.Items()) {
                ICapturePanel* panel = PanelOf(*entry);
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
