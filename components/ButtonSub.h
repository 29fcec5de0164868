// The face band of the colour button: TBevelSubCtrl with its fill, its pressed (down) state and colours,
// locking, and the side forms of the variable outline.
#pragma once

#include "components/BevelSubCtrl.h"
#include "components/VariableOutline.h"

namespace components {

class TButtonSub : public TBevelSubCtrl {
public:
    // The band is a gradient instead of two-coloured.
    bool bpFill() const { return bpFill_; }
    void SetbpFill(bool value) { SetNotifying(bpFill_, value); }
    // Shown pressed (latched).
    bool bpDown() const { return bpDown_; }
    void SetbpDown(bool value) { SetNotifying(bpDown_, value); }
    // The band colours while down or pressed (silent).
    TColor bpDownColor1() const { return bpDownColor1_; }
    void SetbpDownColor1(TColor value) { bpDownColor1_ = value; }
    TColor bpDownColor2() const { return bpDownColor2_; }
    void SetbpDownColor2(TColor value) { bpDownColor2_ = value; }
    // Each press toggles bpDown; switching locking off also clears bpDown.
    bool bpLock() const { return bpLock_; }
    void SetbpLock(bool value) {
        if (value == bpLock_) return;
        bpLock_ = value;
        if (!value) bpDown_ = false;
        Changed();
    }

    // Sides of the variable outline.
    TColorButtonSideForm bpLeftForm() const { return left_.form; }
    void SetbpLeftForm(TColorButtonSideForm value) { SetNotifying(left_.form, value); }
    TColorButtonSideForm bpRightForm() const { return right_.form; }
    void SetbpRightForm(TColorButtonSideForm value) { SetNotifying(right_.form, value); }
    TColorButtonSideStyle bpLeftStyle() const { return left_.style; }
    void SetbpLeftStyle(TColorButtonSideStyle value) { SetNotifying(left_.style, value); }
    TColorButtonSideStyle bpRightStyle() const { return right_.style; }
    void SetbpRightStyle(TColorButtonSideStyle value) { SetNotifying(right_.style, value); }
    TColorButtonSideColor bpLeftSide() const { return left_.edge; }
    void SetbpLeftSide(TColorButtonSideColor value) { SetNotifying(left_.edge, value); }
    TColorButtonSideColor bpRightSide() const { return right_.edge; }
    void SetbpRightSide(TColorButtonSideColor value) { SetNotifying(right_.edge, value); }

    const TButtonSide& LeftSide() const { return left_; }
    const TButtonSide& RightSide() const { return right_; }

private:
    bool bpFill_ = false;
    bool bpDown_ = false;
    TColor bpDownColor1_ = clBlack;
    TColor bpDownColor2_ = clBlack;
    bool bpLock_ = false;
    TButtonSide left_;
    TButtonSide right_;
};

}  // namespace components
