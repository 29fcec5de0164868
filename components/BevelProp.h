// Outer or inner bevel of a label or LED: a bevel ring (TBevelSubCtrl) drawn raised, lowered or not
// at all. Raised draws the upper and left edges in bpColor1 and the others in bpColor2; lowered the
// reverse.
#pragma once

#include <cstdint>

#include "components/BevelSubCtrl.h"

namespace components {

enum TBevelStyle : uint8_t { bsNone, bsRaised, bsLowered };

class TBevelProp : public TBevelSubCtrl {
public:
    explicit TBevelProp(TBevelStyle style) : bpStyle_(style) {
        SetbpColor1(clGray);
        SetbpColor2(clWhite);
    }

    TBevelStyle bpStyle() const { return bpStyle_; }
    void SetbpStyle(TBevelStyle value) { SetNotifying(bpStyle_, value); }

private:
    TBevelStyle bpStyle_;
};

}  // namespace components
