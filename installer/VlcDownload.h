// One download of the VLC release archive, kept by the install window while it runs: starts the
// download thread and hands its outcome to OnDone on the window's (user-interface) thread.
//
// Outcome: Downloaded (the archive is saved as the request's ZipFileName: go on to unpack it),
// NotOffered (the server has no such archive: say so), DownloadFailed (show the "Download Error!" box)
// or SaveFailed (the archive could not be written).
// Destroying the object (or Abort) asks the thread to end; no OnDone follows then.
#pragma once

#include <functional>
#include <memory>

#include "installer/HTTPRequestThread.h"
#include "installer/HttpClient.h"
#include "platform/ui/message_target.h"

namespace hollarin {

struct TDownloadResult {
    TDownloadStatus Status = TDownloadStatus::DownloadFailed;
    std::string ZipFileName;
    int64_t Bytes = 0;
};

class TVlcDownload {
public:
    // May destroy the TVlcDownload that calls it.
    using DoneHandler = std::function<void(TVlcDownload& sender, const TDownloadResult& result)>;

    // Create and use on a thread that runs a Qt event loop. client: the libcurl client by default.
    TVlcDownload(TDownloadRequest request, DoneHandler onDone, std::shared_ptr<THttpClient> client = nullptr);
    ~TVlcDownload();
    TVlcDownload(const TVlcDownload&) = delete;
    TVlcDownload& operator=(const TVlcDownload&) = delete;

    // Starts the download thread once; false when it is already started or no thread could be made.
    bool Start();
    void Abort();
    // True once the thread has ended (also before Start, and after a failed Start).
    bool Ended() const { return !thread_ || thread_->Ended(); }

private:
    void OnMessage(uint32_t msg, intptr_t wParam, intptr_t lParam);

    const TDownloadRequest request_;
    DoneHandler onDone_;
    std::shared_ptr<THttpClient> client_;
    std::shared_ptr<THTTPRequestThread> thread_;
    platform::MessageTarget target_;
};

}  // namespace hollarin
