// Border ring of a label or LED: its colour and width in pixels.
#pragma once

#include "components/Color.h"
#include "components/PersistentSettings.h"

namespace components {

class TBorderProp : public TPersistentSettings {
public:
    TColor fpColor() const { return fpColor_; }
    void SetfpColor(TColor value) { SetNotifying(fpColor_, value); }
    int fpWidth() const { return fpWidth_; }
    void SetfpWidth(int value) { SetNotifying(fpWidth_, value); }

private:
    TColor fpColor_ = clBlack;
    int fpWidth_ = 0;
};

}  // namespace components
