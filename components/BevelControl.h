// Windowed base of the bevelled controls (captioned panel, coloured frames, colour button); each
// creates and publishes its own bevel settings objects (TBevelMainCtrl, TBevelSubCtrl, TAction,
// TBevelClick, TCaptionSubCtrl or classes derived from them). It turns the animation drivers'
// messages into WMLightEffect and WMBlinkState, which the controls that run light effects or
// blinking override.
#pragma once

#include <functional>

#include "components/Color.h"
#include "components/OwnControl.h"

namespace components {

class TAction;
class TBlinkingCtrl;
class TLightEffectCtrl;

class TBevelControl : public TOwnControl {
public:
    explicit TBevelControl(QWidget* parent = nullptr);

protected:
    // wmLightEffect: the colour of this step; effectId 1 outer bevel or face, 2 background or caption.
    virtual void WMLightEffect(TColor /*color*/, int /*effectId*/) {}
    // wmBlinkState: the new blink phase.
    virtual void WMBlinkState(bool /*on*/) {}

    // The default timer, luminance and step of a light effect the control owns.
    static void InitLightEffect(TLightEffectCtrl& effect, int effectId);
    // The mouse-over colours and the light effect exclude each other: switching one on switches the
    // other off.
    static void MakeExclusive(TAction& action, TLightEffectCtrl& effect);
    // When blinking goes on, the driver sends its phases here and the normal colours are loaded first.
    void WatchBlinking(TBlinkingCtrl& blinking, std::function<void()> loadNormalColors);
    // Stops the effect's ramp and starts it again from `from` with the effect's own settings.
    void RestartLightEffect(TLightEffectCtrl& effect, TColor from, TColor base, bool up, int rampId);

    bool event(QEvent* event) override;
};

}  // namespace components
