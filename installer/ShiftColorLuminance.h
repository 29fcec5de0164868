// One colour made lighter or darker on the 0..240 luminance scale (hue and saturation kept).
#pragma once

#include "components/Color.h"

namespace hollarin {

// amount is clamped to 0..240; the luminance moves up or down by it and is clamped to 0..240.
components::TColor ShiftColorLuminance(components::TColor color, int amount, bool up);

}  // namespace hollarin
