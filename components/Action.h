// Mouse-over colour pair of a bevel or button face.
#pragma once

#include "components/Color.h"
#include "components/PersistentSettings.h"

namespace components {

class TAction : public TPersistentSettings {
public:
    bool acOn() const { return acOn_; }
    void SetacOn(bool value) { SetSwitch(acOn_, value); }
    TColor acColor1() const { return acColor1_; }
    void SetacColor1(TColor value) { acColor1_ = value; }
    TColor acColor2() const { return acColor2_; }
    void SetacColor2(TColor value) { acColor2_ = value; }

private:
    bool acOn_ = false;
    TColor acColor1_ = clBlack;
    TColor acColor2_ = clBlack;
};

}  // namespace components
