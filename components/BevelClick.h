// Pressed-state colour pair of a bevel.
#pragma once

#include "components/Color.h"
#include "components/PersistentSettings.h"

namespace components {

class TBevelClick : public TPersistentSettings {
public:
    bool bcOn() const { return bcOn_; }
    void SetbcOn(bool value) { SetSwitch(bcOn_, value); }
    TColor bcColor1() const { return bcColor1_; }
    void SetbcColor1(TColor value) { bcColor1_ = value; }
    TColor bcColor2() const { return bcColor2_; }
    void SetbcColor2(TColor value) { bcColor2_ = value; }

private:
    bool bcOn_ = false;
    TColor bcColor1_ = clBlack;
    TColor bcColor2_ = clBlack;
};

}  // namespace components
