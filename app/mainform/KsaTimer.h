// The keep-awake timer (KSA_Timer): on while DeactScreenSaver is set. Each second, while some capture
// runs, it tells the desktop that the screen is needed, so a long capture does not record a blanked or
// sleeping screen; with no capture running, and when switched off, the desktop's own settings apply.
// User-interface thread only.
#pragma once

#include <QTimer>
#include <functional>
#include <memory>

#include "platform/display/keep_awake.h"

namespace app {

inline constexpr int kKsaTimerMs = 1000;

class TKsaTimer {
public:
    // capturing: whether some capture job runs now.
    TKsaTimer(std::unique_ptr<platform::IKeepAwake> keepAwake, std::function<bool()> capturing);
    ~TKsaTimer();
    TKsaTimer(const TKsaTimer&) = delete;
    TKsaTimer& operator=(const TKsaTimer&) = delete;

    void SetEnabled(bool on);
    bool Enabled() const { return timer_.isActive(); }
    bool Holding() const { return keepAwake_ && keepAwake_->Holding(); }

private:
    void Tick();

    std::unique_ptr<platform::IKeepAwake> keepAwake_;
    std::function<bool()> capturing_;
    QTimer timer_;
};

}  // namespace app
