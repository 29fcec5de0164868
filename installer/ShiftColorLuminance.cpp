#include "installer/ShiftColorLuminance.h"

#include <algorithm>

#include "components/ColorUtils.h"

namespace hollarin {

components::TColor ShiftColorLuminance(components::TColor color, int amount, bool up) {
    amount = std::clamp(amount, 0, components::kHlsMax);
    components::THLSTriple hls = components::RGBToHLS(color);
    const int lum = std::clamp(int(hls.Lum) + (up ? amount : -amount), 0, components::kHlsMax);
    hls.Lum = uint8_t(lum);
    return components::HLSToRGB(hls);
}

}  // namespace hollarin
