// TFtpUpdate: one share's FTP mirror as the capture job holds it. It keeps the mirror's settings
// (a copy taken when the job starts) and owns the mirror thread, which it starts when switched
// active; freeing it ends the thread and waits for it.
#pragma once

#include <memory>

#include "engine/ftp/ftp_update_settings.h"
#include "engine/ftp/ftp_update_thread.h"

namespace engine {

class TFtpUpdate {
public:
    explicit TFtpUpdate(TFtpUpdateSettings settings);
    ~TFtpUpdate();
    TFtpUpdate(const TFtpUpdate&) = delete;
    TFtpUpdate& operator=(const TFtpUpdate&) = delete;

    bool Active() const { return active_; }
    // True starts the mirror thread when none runs (its first cycle after the FtpDelay setting);
    // False ends the thread and waits for it.
    void SetActive(bool value);

private:
    void StartStopThread(bool run);

    const TFtpUpdateSettings settings_;
    bool active_ = false;
    std::unique_ptr<TFtpUpdateThread> thread_;
};

}  // namespace engine
