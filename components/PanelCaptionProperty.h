// Caption settings of the captioned panel: those of every caption, plus whether the caption's colour
// takes part in the panel's light effect.
#pragma once

#include "components/CaptionProperty.h"

namespace components {

class TPanelCaptionProperty : public TCaptionProperty {
public:
    bool cpLightEffect() const { return cpLightEffect_; }
    void SetcpLightEffect(bool value) { cpLightEffect_ = value; }  // silent

private:
    bool cpLightEffect_ = false;
};

}  // namespace components
