// Colour of an LED: one of six built-in colours or the custom pair, and the width of the coloured
// ring drawn inside its bevels. Changes of the custom colours count as changes of the LED colour.
#pragma once

#include <algorithm>
#include <cstdint>

#include "components/CustomColor.h"
#include "components/PersistentSettings.h"

namespace components {

// The order is shared with the engine's share indicator colours.
enum TColorLed : uint8_t { lcdRed, lcdGreen, lcdYellow, lcdGray, lcdOrange, lcdBlue, lcdCustom };

constexpr int kMaxLedBorder = 5;

class TLedColor : public TPersistentSettings {
public:
    TLedColor() {
        llCustomColor_.OnChange = [this] { Changed(); };
    }

    TColorLed llColor() const { return llColor_; }
    void SetllColor(TColorLed value) { SetNotifying(llColor_, value); }
    int llBorder() const { return llBorder_; }
    void SetllBorder(int value) { SetNotifying(llBorder_, std::min(value, kMaxLedBorder)); }
    TCustomColor& llCustomColor() { return llCustomColor_; }
    const TCustomColor& llCustomColor() const { return llCustomColor_; }

private:
    TColorLed llColor_ = lcdRed;
    int llBorder_ = 0;
    TCustomColor llCustomColor_;
};

}  // namespace components
