#include "components/BevelControl.h"

#include "components/Action.h"
#include "components/BlinkingCtrl.h"
#include "components/ControlMessage.h"
#include "components/LightEffectCtrl.h"

namespace components {

namespace {

constexpr int kDefaultLightEffectTimerMs = 50;
constexpr int kDefaultLightEffectLuminance = 60;
constexpr int kDefaultLightEffectStep = 5;

}  // namespace

TBevelControl::TBevelControl(QWidget* parent) : TOwnControl(parent) {}

bool TBevelControl::event(QEvent* event) {
    if (event->type() == TControlMessageEvent::TypeOf(wmLightEffect)) {
        const auto* message = static_cast<TControlMessageEvent*>(event);
        WMLightEffect(TColor(message->WParam), int(message->LParam));
        return true;
    }
    if (event->type() == TControlMessageEvent::TypeOf(wmBlinkState)) {
        WMBlinkState(static_cast<TControlMessageEvent*>(event)->WParam != 0);
        return true;
    }
    return TOwnControl::event(event);
}

void TBevelControl::InitLightEffect(TLightEffectCtrl& effect, int effectId) {
    effect.SetleTimer(kDefaultLightEffectTimerMs);
    effect.SetleLuminance(kDefaultLightEffectLuminance);  // before the step width, which it limits
    effect.SetleLumStepWidth(kDefaultLightEffectStep);
    effect.SetEffectId(effectId);
}

void TBevelControl::MakeExclusive(TAction& action, TLightEffectCtrl& effect) {
    action.OnChange = [&action, &effect] {
        if (action.acOn() && effect.leOn()) effect.SetleOn(false);
    };
    effect.OnChange = [&action, &effect] {
        if (effect.leOn() && action.acOn()) action.SetacOn(false);
    };
}

void TBevelControl::WatchBlinking(TBlinkingCtrl& blinking, std::function<void()> loadNormalColors) {
    blinking.OnChange = [this, &blinking, loadNormalColors = std::move(loadNormalColors)] {
        if (!blinking.blOn()) return;
        blinking.SetWnd(this);
        loadNormalColors();
        update();
    };
}

void TBevelControl::RestartLightEffect(TLightEffectCtrl& effect, TColor from, TColor base, bool up, int rampId) {
    effect.Stop();
    effect.Start(from, base, effect.leTimer(), this, up, effect.leLuminance(), effect.leLumStepWidth(), rampId);
}

}  // namespace components
