#include "app/mainform/KsaTimer.h"

namespace app {

TKsaTimer::TKsaTimer(std::unique_ptr<platform::IKeepAwake> keepAwake) : keepAwake_(std::move(keepAwake)) {
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
    if (keepAwake_) keepAwake_->Hold();
}

}  // namespace app
