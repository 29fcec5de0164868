#include "app/mainform/KsaTimer.h"

namespace app {

TKsaTimer::TKsaTimer(std::unique_ptr<platform::IKeepAwake> keepAwake, std::function<bool()> capturing)
    : keepAwake_(std::move(keepAwake)), capturing_(std::move(capturing)) {
    timer_.setInterval(kKsaTimerMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
}

TKsaTimer::~TKsaTimer() { SetEnabled(false); }

void TKsaTimer::SetEnabled(bool on) {
    if (!on) {
        timer_.stop();
        if (keepAwake_) keepAwake_->Release();
        return;
    }
    if (!timer_.isActive()) timer_.start();
    Tick();
}

void TKsaTimer::Tick() {
    if (!keepAwake_) return;
    if (capturing_ && capturing_()) keepAwake_->Hold();
    else keepAwake_->Release();
}

}  // namespace app
