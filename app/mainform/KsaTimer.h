// The keep-awake timer (KSA_Timer): on while DeactScreenSaver is set. Each second it tells the desktop
// that the screen is needed, so neither the screen saver nor display power saving comes, whether or
// not a capture runs; switched off (and with the timer's end) the desktop's own settings apply again.
// User-interface thread only.
#pragma once

#include <QTimer>
#include <memory>

#include "platform/display/keep_awake.h"

namespace app {

inline constexpr int kKsaTimerMs = 1000;

class TKsaTimer {
public:
    explicit TKsaTimer(std::unique_ptr<platform::IKeepAwake> keepAwake);
    ~TKsaTimer();
    TKsaTimer(const TKsaTimer&) = delete;
    TKsaTimer& operator=(const TKsaTimer&) = delete;

    void SetEnabled(bool on);
    bool Enabled() const { return timer_.isActive(); }
    bool Holding() const { return keepAwake_ && keepAwake_->Holding(); }

private:
    void Tick();

    std::unique_ptr<platform::IKeepAwake> keepAwake_;
    QTimer timer_;
};

}  // namespace app
