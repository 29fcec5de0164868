// A share's FTP mirror as the share keeps it: made from the share's settings and switched active;
// freeing it ends the mirror thread and waits for it.
#pragma once

#include <functional>
#include <memory>

#include "engine/capture/settings/ShareWorker.h"
#include "engine/ftp/ftp_update.h"

namespace engine {

// Makes a share's mirror and switches it active; tests give one that records the settings.
using TFtpMirrorFactory = std::function<std::unique_ptr<IShareWorker>(const TFtpUpdateSettings& settings)>;

class TFtpMirrorWorker final : public IShareWorker {
public:
    explicit TFtpMirrorWorker(const TFtpUpdateSettings& settings);
    // The mirror's stop cuts short the call its thread is in, so ending it waits only briefly.
    void RequestEnd() override { mirror_.SetActive(false); }

private:
    TFtpUpdate mirror_;
};

// The real mirror (TFtpUpdate), active from the start.
std::unique_ptr<IShareWorker> MakeFtpMirror(const TFtpUpdateSettings& settings);

}  // namespace engine
