// Mouse-over brightening of the captioned panel: the background rises by leStep luminance every
// leTimer milliseconds up to leLuminance while the mouse is over it, and falls back after it left.
#pragma once

#include <algorithm>

#include "components/ColorUtils.h"
#include "components/PersistentSettings.h"

namespace components {

class TLightEffectProperty : public TPersistentSettings {
public:
    bool leOn() const { return leOn_; }
    // Stores the value and tells the panel, which keeps the brightened copy only while it is on.
    void SetleOn(bool value) {
        leOn_ = value;
        Changed();
    }
    int leLuminance() const { return leLuminance_; }
    void SetleLuminance(int value) { leLuminance_ = std::clamp(value, 0, kHlsMax); }  // silent
    int leStep() const { return leStep_; }
    // silent; a step below 1 would never reach leLuminance and keep the timer running for good
    void SetleStep(int value) { leStep_ = std::max(value, 1); }
    int leTimer() const { return leTimer_; }
    void SetleTimer(int value) { leTimer_ = std::max(value, 0); }  // silent

private:
    bool leOn_ = false;
    int leLuminance_ = 60;
    int leStep_ = 10;
    int leTimer_ = 50;
};

}  // namespace components
