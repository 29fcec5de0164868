#include "app/mainform/CaptureServices.h"

#include <mutex>

#include "engine/settings/program_state.h"

namespace app {

TCaptureServices::TCaptureServices(std::unique_ptr<platform::IMessagePoster> notifier, TCaptureServiceHooks hooks)
    : notifier_(std::move(notifier)), hooks_(std::move(hooks)) {}

TCaptureListEntry& TCaptureServices::Append(std::unique_ptr<TCaptureListEntry> entry) {
    std::lock_guard lock(engine::GlobalLock());
    return list_.Append(std::move(entry));
}

void TCaptureServices::Free(TCaptureListEntry& entry) {
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
    if (auto found = services_.find(&entry); found != services_.end()) {
        found->second->Detach();  // a start or stop still waiting ends there
        services_.erase(found);
    }
    entry.Name.clear();
    std::shared_ptr<engine::TScreenCapture> capture;
    {
        std::lock_guard lock(engine::GlobalLock());
        capture = std::move(entry.Capture);
        list_.Remove(&entry);
    }
    capture.reset();  // stops the job once no operation of its own runs any more
}

std::shared_ptr<TCaptureService> TCaptureServices::MakeService(TCaptureListEntry& entry) {
    std::shared_ptr<TCaptureService>& service = services_[&entry];
    if (!service) service = std::make_shared<TCaptureService>(entry, hooks_);
    return service;
}

TCaptureService* TCaptureServices::ServiceOf(const TCaptureListEntry& entry) const {
    const auto found = services_.find(&entry);
    return found != services_.end() ? found->second.get() : nullptr;
}

void TCaptureServices::SetPanel(const TCaptureListEntry& entry, std::unique_ptr<ICapturePanel> panel) {
    std::lock_guard lock(engine::GlobalLock());
    panels_[&entry] = std::move(panel);
}

ICapturePanel* TCaptureServices::PanelOf(const TCaptureListEntry& entry) const {
    const auto found = panels_.find(&entry);
    return found != panels_.end() ? found->second.get() : nullptr;
}

int TCaptureServices::IndexOf(const TCaptureListEntry* entry) const {
    const auto& items = list_.Items();
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == entry) return static_cast<int>(i);
    return -1;
}

TCaptureListEntry* TCaptureServices::FindByIdx(int32_t idx) const {
    for (const auto& entry : list_.Items())
        if (entry->Idx == idx) return entry.get();
    return nullptr;
}

TCaptureListEntry* TCaptureServices::FindByCapture(const engine::TScreenCapture* capture) const {
    for (const auto& entry : list_.Items())
        if (entry->Capture.get() == capture) return entry.get();
    return nullptr;
}

engine::TCaptureStreamer* TCaptureServices::FindShareById(engine::TShareId id) const {
    if (id == 0) return nullptr;
    for (const auto& entry : list_.Items())
        if (entry->Capture)
            for (const engine::PCaptureStreamer& share : entry->Capture->Streamers->Items())
                if (share->Index == id) return share.get();
    return nullptr;
}

const engine::TCaptureStreamer* TCaptureServices::FindStreamerByPath(const std::string& path) const {
    const engine::TCaptureStreamer* result = nullptr;
    for (const auto& entry : list_.Items()) {
        if (!entry->Capture) continue;
        for (const engine::PCaptureStreamer& share : entry->Capture->Streamers->Items())
            if (!share->SubDir.empty() && path.find(share->SubDir) != std::string::npos) {
                result = share.get();
                break;
            }
    }
    return result;
}

engine::TShareId TCaptureServices::FindShareIdForPath(const std::string& pathPrefix) {
    const engine::TCaptureStreamer* share = FindStreamerByPath(pathPrefix);
    return share != nullptr ? share->Index : 0;
}

std::vector<int32_t> TCaptureServices::Indices() const {
    std::vector<int32_t> indices;
    for (const auto& entry : list_.Items()) indices.push_back(entry->Idx);
    return indices;
}

std::vector<TCaptureListEntry*> TCaptureServices::Entries() const {
    std::vector<TCaptureListEntry*> entries;
    for (const auto& entry : list_.Items()) entries.push_back(entry.get());
    return entries;
}

void TCaptureServices::StartStop(const TCaptureListEntry& entry, bool start) {
    if (TCaptureService* service = ServiceOf(entry)) service->StartStop(start);
}

void TCaptureServices::StartStopAll(bool start) {
    for (TCaptureListEntry* entry : Entries())
        if (IndexOf(entry) >= 0) StartStop(*entry, start);
}

bool TCaptureServices::AnyRunning() const {
    for (const auto& entry : list_.Items())
        if (const TCaptureService* service = ServiceOf(*entry); service && service->Running()) return true;
    return false;
}

void TCaptureServices::StopForDiskSpace(const std::vector<int32_t>& indices) {
    for (int32_t idx : indices)
        if (TCaptureListEntry* entry = FindByIdx(idx))
            if (TCaptureService* service = ServiceOf(*entry)) service->StopJob();
}

}  // namespace app
