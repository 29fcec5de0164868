// The program's capture services: the capture list (each entry owning its job), each service's
// TCaptureService (which starts and stops it) and the panel that shows it, the lookups of the engine
// and of the web servers. The main window holds it and shows its panels.
//
// Everything runs on the user-interface thread except the web servers' share question
// (FindShareIdForPath), asked on connection threads under GlobalLock: the list, the panels and the
// jobs' share lists are changed under that same lock.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/capture_service/CaptureService.h"
#include "app/lists/capture_list.h"
#include "app/mainform/MainFormParts.h"
#include "engine/http/http_server_host.h"

namespace app {

class TCaptureServices final : public engine::IHttpServerHost {
public:
    // notifier: where the web servers' notifications go (the main window); hooks: the wait window of
    // each service's start and stop.
    TCaptureServices(std::unique_ptr<platform::IMessagePoster> notifier, TCaptureServiceHooks hooks);

    TCaptureList& List() { return list_; }
    const TCaptureList& List() const { return list_; }
    TCaptureListEntry& Append(std::unique_ptr<TCaptureListEntry> entry);
    // Frees the service's panel (with its share tabs), lets go of its TCaptureService and its job
    // (which stops once no operation of its own runs any more) and removes it from the list.
    void Free(TCaptureListEntry& entry);

    // The TCaptureService of an entry, listed or not yet; made once for each entry.
    std::shared_ptr<TCaptureService> MakeService(TCaptureListEntry& entry);
    TCaptureService* ServiceOf(const TCaptureListEntry& entry) const;
    void SetPanel(const TCaptureListEntry& entry, std::unique_ptr<ICapturePanel> panel);
    ICapturePanel* PanelOf(const TCaptureListEntry& entry) const;
    const std::map<const TCaptureListEntry*, std::unique_ptr<ICapturePanel>>& Panels() const { return panels_; }

    int IndexOf(const TCaptureListEntry* entry) const;
    TCaptureListEntry* FindByIdx(int32_t idx) const;
    TCaptureListEntry* FindByCapture(const engine::TScreenCapture* capture) const;
    // The share with that id (its Index) of any service; none for 0 or a share gone meanwhile.
    engine::TCaptureStreamer* FindShareById(engine::TShareId id) const;
    // The share whose sub-folder occurs in path (the last capture service with one wins; within it the
    // first); caller holds GlobalLock.
    const engine::TCaptureStreamer* FindStreamerByPath(const std::string& path) const;
    std::vector<int32_t> Indices() const;
    // The listed entries as they stand now, for a walk whose waits may delete some (IndexOf tells).
    std::vector<TCaptureListEntry*> Entries() const;

    // Starts or stops one service (TCaptureService::StartStop), with a panel or without.
    void StartStop(const TCaptureListEntry& entry, bool start);
    // Every listed service in list order (a wait inside may delete one: it is then skipped).
    void StartStopAll(bool start);
    // Some service runs (TCaptureService::Running).
    bool AnyRunning() const;
    // The disk guard's stop, handed over to this thread: the jobs of those capture indices stop alone
    // (TCaptureService::StopJob).
    void StopForDiskSpace(const std::vector<int32_t>& indices);

    // IHttpServerHost
    engine::TShareId FindShareIdForPath(const std::string& pathPrefix) override;
    platform::IMessagePoster& Notifier() override { return *notifier_; }

private:
    TCaptureList list_;
    std::map<const TCaptureListEntry*, std::shared_ptr<TCaptureService>> services_;
    std::map<const TCaptureListEntry*, std::unique_ptr<ICapturePanel>> panels_;
    std::unique_ptr<platform::IMessagePoster> notifier_;
    TCaptureServiceHooks hooks_;
};

}  // namespace app
