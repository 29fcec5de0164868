// Caption of a button: its colours for the normal, mouse-over and pressed looks and its offsets.
#pragma once

#include "components/Color.h"
#include "components/PersistentSettings.h"

namespace components {

class TCaptionSubCtrl : public TPersistentSettings {
public:
    TColor caActionColor() const { return caActionColor_; }
    void SetcaActionColor(TColor value) { caActionColor_ = value; }
    TColor caClickColor() const { return caClickColor_; }
    void SetcaClickColor(TColor value) { caClickColor_ = value; }
    TColor caColor() const { return caColor_; }
    void SetcaColor(TColor value) { SetNotifying(caColor_, value); }
    int caLeft() const { return caLeft_; }
    void SetcaLeft(int value) { SetNotifying(caLeft_, value); }
    int caTop() const { return caTop_; }
    void SetcaTop(int value) { SetNotifying(caTop_, value); }
    bool caOn() const { return caOn_; }
    void SetcaOn(bool value) { SetSwitch(caOn_, value); }

private:
    TColor caActionColor_ = clBlack;
    TColor caClickColor_ = clBlack;
    TColor caColor_ = clBlack;
    int caLeft_ = 0;
    int caTop_ = 0;
    bool caOn_ = false;
};

}  // namespace components
