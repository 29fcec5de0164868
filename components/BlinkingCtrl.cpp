#include "components/BlinkingCtrl.h"

#include <algorithm>

#include "components/ControlMessage.h"
#include "platform/ui/ttimer.h"

namespace components {

TBlinkingCtrl::TBlinkingCtrl() = default;
TBlinkingCtrl::~TBlinkingCtrl() = default;

void TBlinkingCtrl::SetblOn(bool value) {
    blOn_ = value;
    if (value) {
        if (!timer_) timer_ = std::make_unique<platform::TTimer>();
        timer_->SetInterval(uint32_t(std::max(blInterval_, 0)));
        timer_->SetOnTimer([this] { TimerTick(); });
        timer_->SetEnabled(true);
    } else {
        timer_.reset();
        SendControlMessage(wnd_, wmBlinkState, 0, 0);
    }
    Changed();
}

void TBlinkingCtrl::TimerTick() {
    state_ = !state_;
    SendControlMessage(wnd_, wmBlinkState, state_ ? 1 : 0, 0);
}

}  // namespace components
