// Main face of a bevelled control: background, border line and outline shape.
#pragma once

#include "components/BevelTypes.h"
#include "components/Color.h"
#include "components/PersistentSettings.h"

namespace components {

class TBevelMainCtrl : public TPersistentSettings {
public:
    TColor bmBkgndColor() const { return bmBkgndColor_; }
    void SetbmBkgndColor(TColor value) { SetNotifying(bmBkgndColor_, value); }
    TColor bmBorderLineColor() const { return bmBorderLineColor_; }
    void SetbmBorderLineColor(TColor value) { SetNotifying(bmBorderLineColor_, value); }
    int bmBorderLineWidth() const { return bmBorderLineWidth_; }
    void SetbmBorderLineWidth(int value) { SetNotifying(bmBorderLineWidth_, value); }
    int bmEdge() const { return bmEdge_; }
    void SetbmEdge(int value) { SetNotifying(bmEdge_, value); }
    TBevelShape bmShape() const { return bmShape_; }
    void SetbmShape(TBevelShape value) { SetNotifying(bmShape_, value); }

private:
    TColor bmBkgndColor_ = clBlack;
    TColor bmBorderLineColor_ = clBlack;
    int bmBorderLineWidth_ = 0;
    int bmEdge_ = 0;
    TBevelShape bmShape_ = bsRect;
};

}  // namespace components
