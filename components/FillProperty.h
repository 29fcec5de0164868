// Background fill of a panel, label or LED: gradient style and kind and, for the panel and the label,
// the two gradient colours (the LED takes its colours from its colour table).
#pragma once

#include "components/Color.h"
#include "components/GraphTypes.h"
#include "components/PersistentSettings.h"

namespace components {

class TFillProperty : public TPersistentSettings {
public:
    TGradStyle fpStyle() const { return fpStyle_; }
    void SetfpStyle(TGradStyle value) { SetNotifying(fpStyle_, value); }
    TFillKind fpKind() const { return fpKind_; }
    void SetfpKind(TFillKind value) { SetNotifying(fpKind_, value); }
    TColor fpColor1() const { return fpColor1_; }
    void SetfpColor1(TColor value) { SetNotifying(fpColor1_, value); }
    TColor fpColor2() const { return fpColor2_; }
    void SetfpColor2(TColor value) { SetNotifying(fpColor2_, value); }

private:
    TGradStyle fpStyle_ = gsVertical;
    TFillKind fpKind_ = fkNone;
    TColor fpColor1_ = clBlack;
    TColor fpColor2_ = clWhite;
};

}  // namespace components
