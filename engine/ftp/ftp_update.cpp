#include "engine/ftp/ftp_update.h"

#include "engine/settings/settings_store.h"
#include "platform/ui/window_poster.h"

namespace engine {

TFtpUpdate::TFtpUpdate(TFtpUpdateSettings settings) : settings_(std::move(settings)) {}

TFtpUpdate::~TFtpUpdate() { StartStopThread(false); }

void TFtpUpdate::SetActive(bool value) {
    active_ = value;
    StartStopThread(value);
}

void TFtpUpdate::StartStopThread(bool run) {
    if (!run) {
        thread_.reset();
        return;
    }
    if (thread_) return;
    thread_ = std::make_unique<TFtpUpdateThread>(settings_, engine::Settings()->FtpDelay,
                                                 std::make_shared<platform::TWindowPoster>(settings_.NotifyWindow, wmFtpNotify));
}

}  // namespace engine
