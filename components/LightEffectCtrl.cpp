#include "components/LightEffectCtrl.h"

#include <algorithm>

#include "components/ColorUtils.h"
#include "components/ControlMessage.h"
#include "platform/ui/ttimer.h"

namespace components {

TLightEffectCtrl::TLightEffectCtrl() = default;
TLightEffectCtrl::~TLightEffectCtrl() = default;

void TLightEffectCtrl::SetleTimer(int value) {
    if (value == leTimer_) return;
    leTimer_ = std::clamp(value, 0, kMaxLightEffectTimerMs);
}

void TLightEffectCtrl::SetleLuminance(int value) {
    if (value == leLuminance_) return;
    leLuminance_ = std::clamp(value, 0, kHlsMax);
}

void TLightEffectCtrl::SetleLumStepWidth(int value) {
    if (value == leLumStepWidth_) return;
    leLumStepWidth_ = std::min(std::max(value, 1), leLuminance_);
}

bool TLightEffectCtrl::Running() const { return timer_ && timer_->Enabled(); }

void TLightEffectCtrl::Start(TColor color1, TColor color2, int intervalMs, QObject* receiver, bool up,
                             int luminance, int stepWidth, int rampId) {
    if (!timer_) {
        timer_ = std::make_unique<platform::TTimer>();
        timer_->SetOnTimer([this] { TimerTick(); });
    }
    timer_->SetInterval(uint32_t(std::max(intervalMs, 0)));
    timer_->SetEnabled(true);

    from_ = RGBToHLS(color1);
    to_ = RGBToHLS(color2);
    wnd_ = receiver;
    rampId_ = rampId;
    amount_ = luminance;
    up_ = up;
    const int total = up ? luminance + to_.Lum - from_.Lum : from_.Lum - to_.Lum;
    total_ = std::clamp(total, 0, kHlsMax);
    counter_ = 0;
    step_ = stepWidth;
}

void TLightEffectCtrl::Stop() {
    if (timer_) timer_->SetEnabled(false);
}

void TLightEffectCtrl::TimerTick() {
    counter_ += step_;
    int lum;
    if (up_) {
        const int v = from_.Lum + counter_;
        const int top = to_.Lum + amount_;
        lum = v > kHlsMax ? kHlsMax : v > top ? top : v;
    } else {
        const int v = from_.Lum - counter_;
        lum = v < 0 ? 0 : v < to_.Lum ? to_.Lum : v;
    }
    SendControlMessage(wnd_, wmLightEffect, intptr_t(HLSToRGB(to_.Hue, uint8_t(lum), to_.Sat)), effectId_);
    if (counter_ >= total_) timer_.reset();  // the ramp ends after this step
}

}  // namespace components
