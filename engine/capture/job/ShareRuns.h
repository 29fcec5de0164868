// What runs for the shares of one capture job, kept apart from their stored settings: each share's
// workers while they run, and the status tab its FTP mirror reports to. The job owns it; a share that
// leaves the job's list is forgotten here at once, its workers asked to end.
//
// User-interface thread only; the workers themselves read only their share's settings.
#pragma once

#include <map>
#include <memory>

#include "engine/capture/settings/CaptureStreamer.h"
#include "engine/capture/settings/ShareWorker.h"
#include "platform/ui/message_target.h"

namespace engine {

struct TShareRun {
    // The share's status tab, set by the capture panel; the share's FTP mirror posts wmFtpNotify there.
    platform::WindowHandle FrameHandle = 0;
    std::unique_ptr<IShareWorker> FtpUpdate;       // owned: destroying it waits for the mirror
    std::shared_ptr<IShareWorker> ImageThread;     // self-freeing snapshot thread
    std::shared_ptr<IShareWorker> CopyFileThread;  // self-freeing file-drop thread
};

class TShareRuns {
public:
    TShareRuns() = default;
    // Ends every worker still running.
    ~TShareRuns();
    TShareRuns(const TShareRuns&) = delete;
    TShareRuns& operator=(const TShareRuns&) = delete;

    // The share's part, made empty on first use.
    TShareRun& Of(const PCaptureStreamer& share);
    // The share's part; none while nothing ran for the share and no status tab took it.
    TShareRun* Find(const PCaptureStreamer& share);
    const TShareRun* Find(const PCaptureStreamer& share) const;
    // Asks every share's snapshot and file-drop threads to end (without waiting) and forgets them, and
    // frees its FTP mirror (which waits for its thread).
    void EndAllWorkers();
    // A share that left the job: its workers end and its part goes.
    void Forget(const PCaptureStreamer& share);

private:
    std::map<std::weak_ptr<const TCaptureStreamer>, TShareRun, std::owner_less<>> runs_;
};

// Asks a self-freeing worker to end, without waiting, and forgets it.
void EndShareWorker(std::shared_ptr<IShareWorker>& worker);

}  // namespace engine
