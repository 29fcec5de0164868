// The capture services, web servers and the engine's lookups: each service's job (owned by its entry)
// and panel made, started, stopped and freed here; capture.xml saved from the jobs.
#include "app/mainform/MainForm.h"

#include <exception>

#include "app/lists/capture_list_file.h"
#include "app/settings/app_globals.h"
#include "app/settings/app_paths.h"
#include "app/settings/vlc_registry_preferences.h"
#include "engine/capture/ShareDefaultsFromSettings.h"
#include "engine/settings/counters.h"
#include "engine/settings/program_state.h"

namespace app {

std::shared_ptr<engine::TScreenCapture> TLumora_MainForm::CreateCapture(int32_t idx) {
    engine::TScreenCaptureServices services = engine::DefaultScreenCaptureServices(idx, WindowHandle(), errorBox_);
    services.VlcPreferences = RegistryVlcPreferences();
    std::shared_ptr<engine::TScreenCapture> capture = engine::TScreenCapture::Create(idx, std::move(services));
    capture->Params.capVlcLibPath = AppPaths()->LibVlcDir;
    capture->OnRestart = [this](engine::TScreenCapture& sender) { HandleCaptureRestart(sender); };
    capture->OnLog = [this](engine::TScreenCapture&, const std::string& text, uint8_t level) {
        HandleCaptureLog(text, level);
    };
    return capture;
}

std::unique_ptr<TCaptureListEntry> TLumora_MainForm::InitCaptureEntry() {
    std::unique_ptr<TCaptureListEntry> entry = NewCaptureEntry(*this);
    MakePanel(*entry);
    return entry;
}

void TLumora_MainForm::MakePanel(TCaptureListEntry& entry) {
    if (!options_.Parts.MakeCapturePanel) return;
    std::unique_ptr<ICapturePanel> panel = options_.Parts.MakeCapturePanel(*this, entry, entry.Capture);
    if (!panel) return;
    QWidget* widget = panel->Widget();
    widget->setObjectName(QString("CaptureFrame_%1").arg(entry.Idx));
    panelLayout_->insertWidget(panelLayout_->count() - 1, widget);  // last, above the stretch
    std::lock_guard lock(engine::GlobalLock());
    panels_.emplace(&entry, std::move(panel));
}

void TLumora_MainForm::ShowLoadedCapture(TCaptureListEntry& entry) {
    // The block does not keep the library folder: a loaded job uses the program's.
    if (entry.Capture->Params.capVlcLibPath.empty()) entry.Capture->Params.capVlcLibPath = AppPaths()->LibVlcDir;
    MakePanel(entry);
    entry.Capture->Prepare(entry.Idx);
    if (ICapturePanel* panel = PanelOf(entry)) panel->InitPanel();
}

bool TLumora_MainForm::AddCapture() {
    TCaptureListEntry* entry = nullptr;
    {
        std::unique_ptr<TCaptureListEntry> created = InitCaptureEntry();
        std::lock_guard lock(engine::GlobalLock());
        entry = &captureList_.Append(std::move(created));
    }
    const bool ok = options_.Parts.EditNewCapture && options_.Parts.EditNewCapture(*entry, *entry->Capture);
    if (!ok) {
        FreeCaptureEntry(*entry);
        return false;
    }
    NewCaptureEdited(*entry);
    return true;
}

void TLumora_MainForm::NewCaptureEdited(TCaptureListEntry& entry) {
    if (!entry.Capture) return;
    CallIfSet(options_.Parts.ShowWaitForm);
    entry.Capture->Prepare(entry.Idx);
    if (ICapturePanel* panel = PanelOf(entry)) panel->InitPanel();
    CallIfSet(options_.Parts.CloseWaitForm);
    UpdateArchiveIndices();
}

void TLumora_MainForm::FreeCaptureEntry(TCaptureListEntry& entry) {
    std::unique_ptr<ICapturePanel> panel;
    {
        std::lock_guard lock(engine::GlobalLock());
        if (auto found = panels_.find(&entry); found != panels_.end()) {
            panel = std::move(found->second);
            panels_.erase(found);
        }
    }
    if (panel) {
        panel->StopStatusTimer();
        panel.reset();  // its share tabs and LEDs go with it
    }
    entry.Name.clear();
    std::shared_ptr<engine::TScreenCapture> capture;
    {
        // The web servers walk the listed jobs' shares under this lock.
        std::lock_guard lock(engine::GlobalLock());
        capture = std::move(entry.Capture);
        captureList_.Remove(&entry);
    }
    capture.reset();  // stops the job once no operation of its own runs any more
    UpdateArchiveIndices();
}

void TLumora_MainForm::UpdateArchiveIndices() {
    std::vector<int32_t> indices;
    for (const auto& entry : captureList_.Items()) indices.push_back(entry->Idx);
    archiveHandOver_.SetCaptureIndices(std::move(indices));
}

ICapturePanel* TLumora_MainForm::PanelOf(const TCaptureListEntry& entry) const {
    const auto found = panels_.find(&entry);
    return found != panels_.end() ? found->second.get() : nullptr;
}

int TLumora_MainForm::IndexOfCaptureEntry(const TCaptureListEntry* entry) const {
    const auto& items = captureList_.Items();
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == entry) return static_cast<int>(i);
    return -1;
}

TCaptureListEntry* TLumora_MainForm::FindEntryByIdx(int32_t idx) const {
    for (const auto& entry : captureList_.Items())
        if (entry->Idx == idx) return entry.get();
    return nullptr;
}

TCaptureListEntry* TLumora_MainForm::FindEntryByCapture(const engine::TScreenCapture* capture) const {
    for (const auto& entry : captureList_.Items())
        if (entry->Capture.get() == capture) return entry.get();
    return nullptr;
}

void TLumora_MainForm::StartStopCapture(TCaptureListEntry& entry, bool start) {
    if (ICapturePanel* panel = PanelOf(entry)) {
        panel->StartStop(start);
        return;
    }
    const std::shared_ptr<engine::TScreenCapture> capture = entry.Capture;
    if (!capture) return;
    entry.StartTime = std::chrono::system_clock::now();
    if (start) {
        if (capture->Start()) capture->Running = true;
    } else {
        capture->Stop();
        capture->Running = false;
    }
}

void TLumora_MainForm::StartStopAll(bool start) {
    if (captureList_.Count() == 0) return;
    StartStopHttpServers(start);
    std::vector<TCaptureListEntry*> entries;
    for (const auto& entry : captureList_.Items()) entries.push_back(entry.get());
    for (TCaptureListEntry* entry : entries)
        if (IndexOfCaptureEntry(entry) >= 0) StartStopCapture(*entry, start);  // a wait inside may delete one
}

void TLumora_MainForm::StartStopHttpServers(bool start) {
    for (const auto& entry : httpServerList_.Items()) {
        SetHttpLeds(*entry, false);
        if (!entry->Server) continue;
        try {
            if (start && entry->AutoStart) {
                if (!entry->Server->Activate()) SetHttpLeds(*entry, true);
            } else {
                entry->Server->Deactivate();
            }
        } catch (const std::exception& e) {
            WriteLog("HTTP [" + engine::IpAddrToText(entry->Server->IpAddr()) + ":" + std::to_string(entry->Server->Port()) +
                         "] - " + e.what(),
                     engine::kLogError);
        }
    }
}

void TLumora_MainForm::SetHttpLeds(const THttpServerEntry& server, bool on) {
    const engine::IShareHttpServer* bound = &server;
    for (const auto& entry : captureList_.Items()) {
        ICapturePanel* panel = PanelOf(*entry);
        if (!panel) continue;
        for (const engine::PCaptureStreamer& share : entry->Capture->Streamers->Items())
            if (share->Protocol == engine::kShareProtocolHttp && share->HttpServer.get() == bound)
                panel->SetShareHttpError(*share, on);
    }
}

std::shared_ptr<THttpServerEntry> TLumora_MainForm::FindHttpServerEntry(int32_t ipAddr, int32_t port) const {
    return httpServerList_.FindEntry(ipAddr, port);
}

const engine::TCaptureStreamer* TLumora_MainForm::FindStreamerByPath(const std::string& path) const {
    const engine::TCaptureStreamer* result = nullptr;
    for (const auto& entry : captureList_.Items()) {
        if (!entry->Capture) continue;
        for (const engine::PCaptureStreamer& share : entry->Capture->Streamers->Items())
            if (!share->SubDir.empty() && path.find(share->SubDir) != std::string::npos) {
                result = share.get();
                break;
            }
    }
    return result;
}

bool TLumora_MainForm::SaveCaptureList() {
    // Only this thread changes the lists and the jobs' settings: the file is written without GlobalLock,
    // which would hold up the snapshot writers and the web servers meanwhile.
    return app::SaveCaptureList(ListDocPool(), AppPaths()->CaptureListFile, captureList_);
}
}  // namespace app
