// The capture services, web servers and the engine's lookups: one job and one panel per capture
// service, made, started, stopped and freed here; capture.xml saved from the jobs' current settings.
#include "app/mainform/MainForm.h"

#include <exception>

#include "app/lists/capture_list_file.h"
#include "app/settings/app_globals.h"
#include "app/settings/app_paths.h"
#include "app/settings/vlc_registry_preferences.h"
#include "engine/capture/settings/ShareDefaultsFromSettings.h"
#include "engine/settings/counters.h"
#include "engine/settings/program_state.h"

namespace app {

std::unique_ptr<TCaptureListEntry> TLumora_MainForm::InitCaptureEntry() {
    auto entry = std::make_unique<TCaptureListEntry>();
    entry->Idx = engine::NextCaptureIndex();
    entry->Params.capVlcLibPath = AppPaths()->LibVlcDir;
    TCaptureService service;
    engine::TScreenCaptureServices services =
        engine::DefaultScreenCaptureServices(entry->Idx, WindowHandle(), errorBox_);
    services.VlcPreferences = RegistryVlcPreferences();
    service.Capture = engine::TScreenCapture::Create(entry->Idx, std::move(services));
    entry->Streamers = service.Capture->Streamers;  // one list: capture.xml is read into the job's shares
    service.Capture->Params.capVlcLibPath = AppPaths()->LibVlcDir;
    service.Capture->OnRestart = [this](engine::TScreenCapture& sender) { HandleCaptureRestart(sender); };
    service.Capture->OnLog = [this](engine::TScreenCapture&, const std::string& text, uint8_t level) {
        HandleCaptureLog(text, level);
    };
    if (options_.Parts.MakeCapturePanel) {
        service.Panel = options_.Parts.MakeCapturePanel(*this, *entry, service.Capture);
        if (service.Panel) {
            QWidget* widget = service.Panel->Widget();
            widget->setObjectName(QString("CaptureFrame_%1").arg(entry->Idx));
            panelLayout_->insertWidget(panelLayout_->count() - 1, widget);  // last, above the stretch
        }
    }
    std::lock_guard lock(engine::GlobalLock());
    services_.emplace(entry.get(), std::move(service));
    return entry;
}

void TLumora_MainForm::CaptureEntryLoaded(TCaptureListEntry& entry) {
    const std::shared_ptr<engine::TScreenCapture> capture = CaptureOf(entry);
    if (!capture) return;
    {
        std::lock_guard lock(engine::GlobalLock());
        capture->Params = entry.Params;
        if (capture->Params.capVlcLibPath.empty()) capture->Params.capVlcLibPath = AppPaths()->LibVlcDir;
    }
    capture->Prepare(entry.Idx);
    if (ICapturePanel* panel = PanelOf(entry)) panel->InitPanel();
}

bool TLumora_MainForm::AddCapture() {
    TCaptureListEntry* entry = nullptr;
    {
        std::unique_ptr<TCaptureListEntry> created = InitCaptureEntry();
        std::lock_guard lock(engine::GlobalLock());
        entry = &captureList_.Append(std::move(created));
    }
    const std::shared_ptr<engine::TScreenCapture> capture = CaptureOf(*entry);
    const bool ok = options_.Parts.EditNewCapture && capture && options_.Parts.EditNewCapture(*entry, *capture);
    if (!ok) {
        FreeCaptureEntry(*entry);
        return false;
    }
    NewCaptureEdited(*entry);
    return true;
}

void TLumora_MainForm::NewCaptureEdited(TCaptureListEntry& entry) {
    const std::shared_ptr<engine::TScreenCapture> capture = CaptureOf(entry);
    if (!capture) return;
    CallIfSet(options_.Parts.ShowWaitForm);
    capture->Prepare(entry.Idx);
    if (ICapturePanel* panel = PanelOf(entry)) panel->InitPanel();
    CallIfSet(options_.Parts.CloseWaitForm);
    UpdateArchiveIndices();
}

void TLumora_MainForm::FreeCaptureEntry(TCaptureListEntry& entry) {
    TCaptureService service;
    std::unique_ptr<TCaptureListEntry> keep;
    {
        std::lock_guard lock(engine::GlobalLock());
        if (auto found = services_.find(&entry); found != services_.end()) {
            service = std::move(found->second);
            services_.erase(found);
        }
    }
    if (service.Panel) {
        service.Panel->StopStatusTimer();
        service.Panel.reset();  // its share tabs and LEDs go with it
    }
    entry.Name.clear();
    service.Capture.reset();  // stops the job once no operation of its own runs any more
    {
        std::lock_guard lock(engine::GlobalLock());
        captureList_.Remove(&entry);
    }
    UpdateArchiveIndices();
}

void TLumora_MainForm::ForgetUnlistedServices() {
    std::vector<const TCaptureListEntry*> unlisted;
    for (const auto& [entry, service] : services_)
        if (IndexOfCaptureEntry(entry) < 0) unlisted.push_back(entry);
    for (const TCaptureListEntry* entry : unlisted) services_.erase(entry);
}

void TLumora_MainForm::UpdateArchiveIndices() {
    std::vector<int32_t> indices;
    for (const auto& entry : captureList_.Items()) indices.push_back(entry->Idx);
    archiveHandOver_.SetCaptureIndices(std::move(indices));
}

std::shared_ptr<engine::TScreenCapture> TLumora_MainForm::CaptureOf(const TCaptureListEntry& entry) const {
    const auto found = services_.find(&entry);
    return found != services_.end() ? found->second.Capture : nullptr;
}

ICapturePanel* TLumora_MainForm::PanelOf(const TCaptureListEntry& entry) const {
    const auto found = services_.find(&entry);
    return found != services_.end() ? found->second.Panel.get() : nullptr;
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
        if (CaptureOf(*entry).get() == capture) return entry.get();
    return nullptr;
}

void TLumora_MainForm::StartStopCapture(TCaptureListEntry& entry, bool start) {
    if (ICapturePanel* panel = PanelOf(entry)) {
        panel->StartStop(start);
        return;
    }
    const std::shared_ptr<engine::TScreenCapture> capture = CaptureOf(entry);
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
    for (const auto& [entry, service] : services_) {
        if (!service.Panel || !service.Capture) continue;
        for (const engine::PCaptureStreamer& share : service.Capture->Streamers->Items())
            if (share->Protocol == engine::kShareProtocolHttp && share->HttpServer.get() == bound)
                service.Panel->SetShareHttpError(*share, on);
    }
}

std::shared_ptr<THttpServerEntry> TLumora_MainForm::FindHttpServerEntry(int32_t ipAddr, int32_t port) const {
    return httpServerList_.FindEntry(ipAddr, port);
}

const engine::TCaptureStreamer* TLumora_MainForm::FindStreamerByPath(const std::string& path) const {
    const engine::TCaptureStreamer* result = nullptr;
    for (const auto& entry : captureList_.Items()) {
        if (!entry->Streamers) continue;
        for (const engine::PCaptureStreamer& share : entry->Streamers->Items())
            if (!share->SubDir.empty() && path.find(share->SubDir) != std::string::npos) {
                result = share.get();
                break;
            }
    }
    return result;
}

void TLumora_MainForm::CopyJobParamsIntoEntry(TCaptureListEntry& entry) const {
    if (const std::shared_ptr<engine::TScreenCapture> capture = CaptureOf(entry)) entry.Params = capture->Params;
}

bool TLumora_MainForm::SaveCaptureList() {
    // Only this thread changes the lists and the parameters: the file is written without GlobalLock,
    // which would hold up the snapshot writers and the web servers meanwhile.
    for (const auto& entry : captureList_.Items()) CopyJobParamsIntoEntry(*entry);
    return app::SaveCaptureList(ListDocPool(), AppPaths()->CaptureListFile, captureList_);
}
}  // namespace app
