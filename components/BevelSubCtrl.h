// One bevel ring of a control: its two colours and its width in rings.
#pragma once

#include "components/Color.h"
#include "components/PersistentSettings.h"

namespace components {

class TBevelSubCtrl : public TPersistentSettings {
public:
    TColor bpColor1() const { return bpColor1_; }
    void SetbpColor1(TColor value) { SetNotifying(bpColor1_, value); }
    TColor bpColor2() const { return bpColor2_; }
    void SetbpColor2(TColor value) { SetNotifying(bpColor2_, value); }
    int bpWidth() const { return bpWidth_; }
    void SetbpWidth(int value) { SetNotifying(bpWidth_, value); }

private:
    TColor bpColor1_ = clBlack;
    TColor bpColor2_ = clBlack;
    int bpWidth_ = 0;
};

}  // namespace components
