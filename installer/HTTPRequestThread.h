// The download thread: a HEAD request for the archive's length, then a GET whose body goes to a
// temporary file beside the archive, renamed over it once the whole answer is in. Progress and the
// length go to the install window as kInstallerMessage (InstallerMessages.h); the outcome goes to the
// owner's message target as kDownloadDoneMessage. The thread frees itself; its owner only asks it to
// end (RequestEnd), and a thread asked to end posts no outcome and leaves no file behind.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "installer/HttpClient.h"
#include "platform/ui/message_target.h"

namespace hollarin {

enum class TDownloadStatus : intptr_t {
    Downloaded = 0,      // the archive is saved under its name
    DownloadFailed = 1,  // no connection, error status, time-out, empty or oversized answer
    SaveFailed = 2,      // the archive could not be written; an older archive stays as it was
    NotOffered = 3,      // the server has no such archive (404 or 410)
};

class TRunFolder;

struct TDownloadRequest {
    std::string Url;
    std::string ZipFileName;                    // where the archive goes
    platform::WindowHandle ProgressTarget = 0;  // the install window; 0: no progress messages
    THttpLimits Limits;
    // The folder ZipFileName lies in, held while the thread runs; may be null.
    std::shared_ptr<const TRunFolder> RunFolder;
};

// Posted to the owner's target: wParam a TDownloadStatus, lParam the archive's bytes.
constexpr uint32_t kDownloadDoneMessage = 0xAB91;

class THTTPRequestThread {
public:
    THTTPRequestThread(TDownloadRequest request, std::shared_ptr<THttpClient> client, platform::WindowHandle doneTarget);
    THTTPRequestThread(const THTTPRequestThread&) = delete;
    THTTPRequestThread& operator=(const THTTPRequestThread&) = delete;

    // Starts the thread, which keeps self until it has ended. False when no thread could be made.
    static bool Start(const std::shared_ptr<THTTPRequestThread>& self);
    // Never waits; a transfer in progress stops within about a second.
    void RequestEnd() { endRequested_ = true; }
    bool Ended() const { return ended_; }

private:
    void Execute();
    TDownloadStatus Download(int64_t* bytes);
    bool Post(intptr_t wParam, int64_t lParam) const;
    std::string LogName() const { return "download: " + request_.Url; }

    const TDownloadRequest request_;
    const std::shared_ptr<THttpClient> client_;
    const platform::WindowHandle doneTarget_;
    std::atomic<bool> endRequested_{false};
    std::atomic<bool> ended_{false};
};

}  // namespace hollarin
