// A bevel ring of the coloured frames: TBevelSubCtrl with the way its rings are filled.
#pragma once

#include "components/BevelSubCtrl.h"
#include "components/BevelTypes.h"

namespace components {

class TBevelFillSub : public TBevelSubCtrl {
public:
    TBevelFill bpFill() const { return bpFill_; }
    void SetbpFill(TBevelFill value) { SetNotifying(bpFill_, value); }

private:
    TBevelFill bpFill_ = bfNone;
};

using TBevelOuterSub = TBevelFillSub;
using TBevelDistanceSub = TBevelFillSub;
using TBevelInnerSub = TBevelFillSub;

}  // namespace components
