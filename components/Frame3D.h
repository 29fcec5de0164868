// Graded frame of the bevel label: frWidth rings from frColor1 to frColor2 (fkGrad) or a ridge from
// frColor1 to frColor2 and back (fkSym); fkNone draws the bevels instead.
#pragma once

#include <algorithm>

#include "components/Color.h"
#include "components/GraphTypes.h"
#include "components/PersistentSettings.h"

namespace components {

class TFrame3D : public TPersistentSettings {
public:
    TColor frColor1() const { return frColor1_; }
    void SetfrColor1(TColor value) { SetNotifying(frColor1_, value); }
    TColor frColor2() const { return frColor2_; }
    void SetfrColor2(TColor value) { SetNotifying(frColor2_, value); }
    int frWidth() const { return frWidth_; }
    void SetfrWidth(int value) { SetNotifying(frWidth_, std::max(value, 1)); }
    TFillKind frKind() const { return frKind_; }
    void SetfrKind(TFillKind value) { SetNotifying(frKind_, value); }

private:
    TColor frColor1_ = clBlack;
    TColor frColor2_ = clWhite;
    int frWidth_ = 5;
    TFillKind frKind_ = fkNone;
};

}  // namespace components
