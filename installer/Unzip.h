// One extraction of the downloaded archive, kept by the install window from the download's end to the
// end of the install step: holds the archive and target names and the completion handler, and starts
// the extraction thread. OnDone(sender, code, done) runs on the window's (user-interface) thread with
// a code of UnzipThread.h and done true; it may destroy the TUnzip. Destroying the TUnzip asks the
// thread to end; no OnDone follows then.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "installer/UnzipThread.h"
#include "platform/ui/message_target.h"

namespace hollarin {

class TUnzip {
public:
    using DoneHandler = std::function<void(TUnzip& sender, int code, bool done)>;

    // Create and use on a thread that runs a Qt event loop.
    TUnzip();
    ~TUnzip();
    TUnzip(const TUnzip&) = delete;
    TUnzip& operator=(const TUnzip&) = delete;

    void SetZipFile(const std::string& zipFile);
    void SetTargetDir(const std::string& targetDir);
    void SetSources(TUnzipSources sources) { sources_ = std::move(sources); }
    // The working folder the archive and the target lie in; the thread holds it while it runs.
    void SetRunFolder(std::shared_ptr<const TRunFolder> runFolder) { runFolder_ = std::move(runFolder); }

    DoneHandler OnDone;

    // Creates the target folder when missing and starts the extraction thread once. False (and no
    // thread) when there is no archive or target name, the folder cannot be created, the thread was
    // started before or no thread could be made.
    bool Start();
    bool Ended() const { return !thread_ || thread_->Ended(); }
    // Why the extraction did not succeed; meaningful in OnDone.
    TUnzipFailure Failure() const { return thread_ ? thread_->Failure() : TUnzipFailure::None; }

private:
    void OnMessage(uint32_t msg, intptr_t wParam, intptr_t lParam);

    std::string zipFile_;
    std::string targetDir_;
    TUnzipSources sources_;
    std::shared_ptr<const TRunFolder> runFolder_;
    std::shared_ptr<TUnzipThread> thread_;
    platform::MessageTarget target_;
};

}  // namespace hollarin
