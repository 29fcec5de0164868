// The colour pairs of an LED in its custom colour, off and on.
#pragma once

#include "components/Color.h"
#include "components/PersistentSettings.h"

namespace components {

class TCustomColor : public TPersistentSettings {
public:
    TColor ccColor1Off() const { return ccColor1Off_; }
    void SetccColor1Off(TColor value) { SetNotifying(ccColor1Off_, value); }
    TColor ccColor2Off() const { return ccColor2Off_; }
    void SetccColor2Off(TColor value) { SetNotifying(ccColor2Off_, value); }
    TColor ccColor1On() const { return ccColor1On_; }
    void SetccColor1On(TColor value) { SetNotifying(ccColor1On_, value); }
    TColor ccColor2On() const { return ccColor2On_; }
    void SetccColor2On(TColor value) { SetNotifying(ccColor2On_, value); }

private:
    TColor ccColor1Off_ = 0x00003E;
    TColor ccColor2Off_ = 0x000080;
    TColor ccColor1On_ = 0x5C5C5C;
    TColor ccColor2On_ = 0x0000FF;
};

}  // namespace components
