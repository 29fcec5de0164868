// What the settings dialog asks of the main window, answered by the main window and the capture-service
// editor.
#pragma once

#include <functional>

#include "app/windows/settings_dialog/SettingsFormHost.h"

namespace app {

class TLumora_MainForm;

class TMainSettingsHost final : public ISettingsFormHost {
public:
    using TCaptureEditor = std::function<bool(TCaptureListEntry& entry, bool isNew)>;

    TMainSettingsHost(TLumora_MainForm& form, TCaptureEditor editCapture)
        : form_(form), editCapture_(std::move(editCapture)) {}

    // IListFileHost
    std::shared_ptr<engine::TScreenCapture> CreateCapture(int32_t idx) override;
    std::unique_ptr<engine::TCaptureHttpServer> CreateHttpServer(int idx) override;
    std::unique_ptr<engine::TWebSocketFilterGraph> CreateWebSocketGraph() override;

    TCaptureList& CaptureList() override;
    THttpServerList& HttpServerList() override;
    TWebSocketList& WebSocketList() override;
    std::unique_ptr<TCaptureListEntry> InitCaptureEntry() override;
    // Also shows the panel (the main window's height follows).
    void CaptureEntryAdded(TCaptureListEntry& entry) override;
    bool RunCaptureEditor(TCaptureListEntry& entry, bool isNew) override;
    bool SaveCaptureList() override;
    size_t ShareCount(const TCaptureListEntry& entry) override;
    void FreeCaptureEntry(TCaptureListEntry& entry) override;
    void FreeHttpServerEntry(THttpServerEntry& entry) override;
    void FreeWebSocketEntry(TWebSocketEntry& entry) override;
    void StartDownloader() override;
    void KillOwnProcess() override;
    void CloseMainWindow() override;
    void ShowHelp(const std::string& anchor) override;

private:
    TLumora_MainForm& form_;
    TCaptureEditor editCapture_;
};

}  // namespace app
