// Windowed base of the bevelled controls (captioned panel, coloured frames, colour button); each
// creates and publishes its own bevel settings objects (TBevelMainCtrl, TBevelSubCtrl, TAction,
// TBevelClick, TCaptionSubCtrl or classes derived from them). It turns the animation drivers'
// messages into WMLightEffect and WMBlinkState, which the controls that run light effects or
// blinking override.
#pragma once

#include "components/Color.h"
#include "components/OwnControl.h"

namespace components {

class TBevelControl : public TOwnControl {
public:
    explicit TBevelControl(QWidget* parent = nullptr);

protected:
    // wmLightEffect: the colour of this step; effectId 1 outer bevel or face, 2 background or caption.
    virtual void WMLightEffect(TColor /*color*/, int /*effectId*/) {}
    // wmBlinkState: the new blink phase.
    virtual void WMBlinkState(bool /*on*/) {}

    bool event(QEvent* event) override;
};

}  // namespace components
