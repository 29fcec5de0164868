#include "app/parts/MainSettingsHost.h"

#include "app/mainform/MainForm.h"
#include "app/parts/UserManual.h"

namespace app {

std::unique_ptr<TCaptureListEntry> TMainSettingsHost::InitCaptureEntry() { return form_.InitCaptureEntry(); }

std::shared_ptr<engine::TScreenCapture> TMainSettingsHost::CreateCapture(int32_t idx) {
    return form_.CreateCapture(idx);
}

void TMainSettingsHost::CaptureEntryAdded(TCaptureListEntry& entry) {
    form_.NewCaptureEdited(entry);
    form_.AdjustHeight();
}

std::unique_ptr<engine::TCaptureHttpServer> TMainSettingsHost::CreateHttpServer(int idx) {
    return form_.CreateHttpServer(idx);
}

std::unique_ptr<engine::TWebSocketFilterGraph> TMainSettingsHost::CreateWebSocketGraph() {
    return form_.CreateWebSocketGraph();
}

TCaptureList& TMainSettingsHost::CaptureList() { return form_.CaptureList(); }
THttpServerList& TMainSettingsHost::HttpServerList() { return form_.HttpServerList(); }
TWebSocketList& TMainSettingsHost::WebSocketList() { return form_.WebSocketList(); }

bool TMainSettingsHost::RunCaptureEditor(TCaptureListEntry& entry, bool isNew) {
    return editCapture_ && editCapture_(entry, isNew);
}

bool TMainSettingsHost::SaveCaptureList() { return form_.SaveCaptureList(); }

size_t TMainSettingsHost::ShareCount(const TCaptureListEntry& entry) {
    return entry.Capture ? entry.Capture->Streamers->Count() : 0;
}

void TMainSettingsHost::FreeCaptureEntry(TCaptureListEntry& entry) {
    // The main window takes the entry out of the list as well.
    form_.FreeCaptureEntry(entry);
    form_.AdjustHeight();
}

void TMainSettingsHost::FreeHttpServerEntry(THttpServerEntry& entry) {
    if (!entry.Server) return;
    entry.Server->Deactivate();
    entry.Server.reset();
}

void TMainSettingsHost::FreeWebSocketEntry(TWebSocketEntry& entry) {
    entry.Name.clear();
    entry.Graph.reset();
}

void TMainSettingsHost::StartDownloader() { form_.StartDownloader(); }
void TMainSettingsHost::KillOwnProcess() { form_.KillOwnProcess(); }
void TMainSettingsHost::CloseMainWindow() { form_.CloseApp(); }
void TMainSettingsHost::ShowHelp(const std::string& anchor) { ShowUserManual(anchor); }

}  // namespace app
