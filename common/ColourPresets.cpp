#include "common/ColourPresets.h"

#include <iterator>
#include <optional>

#include "components/BevelLabel.h"
#include "components/CanvasPanelEx.h"
#include "components/LedLabel.h"

namespace app {

namespace {

using components::TColor;

struct TPanelLook {
    std::optional<bool> GrayScale;  // empty: the picture keeps its grey or colour
    TColor Color2;
    TColor Color1;
    TColor FontColor;
};

constexpr TColor kPanelFontColor = 0x800000;
const TPanelLook kHoverLook{false, 0xFFFFFF, 0xCCBABA, kPanelFontColor};
const TPanelLook kNormalLook{true, 0xF2F2F2, 0x999999, kPanelFontColor};
const TPanelLook kDownLook{std::nullopt, 0xFFE8E8, 0xAA6666, 0xFFFF00};
const TPanelLook kActiveLook{false, 0xFFFFFF, 0xBADDBA, kPanelFontColor};

void ApplyLook(components::TCanvasPanelEx& panel, const TPanelLook& look) {
    if (look.GrayScale) panel.ImageProp().SetipGrayScale(*look.GrayScale);
    panel.Fill().SetfpColor2(look.Color2);
    panel.Fill().SetfpColor1(look.Color1);
    panel.SetFontColor(look.FontColor);
}

// The mouse-driven looks leave a switched-on panel alone.
void ApplyUnlessSwitchedOn(components::TCanvasPanelEx& panel, const TPanelLook& look) {
    if (panel.Tag() == kPanelTagSwitchedOn) return;
    ApplyLook(panel, look);
}

struct TBevelScheme {
    uint8_t Number;
    TColor BorderColor;
    TColor FontColor;
    TColor Color1;
    TColor Color2;
};

constexpr TBevelScheme kBevelSchemes[] = {
    {0, 0x808080, 0x808080, 0x000000, 0x575757}, {1, 0x0000FF, 0x808080, 0x000055, 0x000080},
    {3, 0x008000, 0x80FF80, 0x004000, 0x00AA00}, {4, 0xA00000, 0xFFFF00, 0x663300, 0xFF8000},
    {5, 0x008080, 0x00FFFF, 0x004444, 0x00A7A7}, {6, 0x400080, 0xEAD5FF, 0x400040, 0xC080FF},
    {7, 0x0080FF, 0xD9ECFF, 0x000055, 0x0080FF},
};

}  // namespace

void SetPanelHover(components::TCanvasPanelEx& panel) { ApplyUnlessSwitchedOn(panel, kHoverLook); }
void SetPanelNormal(components::TCanvasPanelEx& panel) { ApplyUnlessSwitchedOn(panel, kNormalLook); }
void SetPanelHoverAlways(components::TCanvasPanelEx& panel) { ApplyLook(panel, kHoverLook); }
void SetPanelNormalAlways(components::TCanvasPanelEx& panel) { ApplyLook(panel, kNormalLook); }
void SetPanelDown(components::TCanvasPanelEx& panel) { ApplyUnlessSwitchedOn(panel, kDownLook); }
void SetPanelUp(components::TCanvasPanelEx& panel) { ApplyUnlessSwitchedOn(panel, kHoverLook); }
void SetPanelActive(components::TCanvasPanelEx& panel) { ApplyLook(panel, kActiveLook); }

void SetBevelLabelScheme(components::TBevelLabel& label, uint8_t scheme) {
    for (const TBevelScheme& s : kBevelSchemes) {
        if (s.Number != scheme) continue;
        label.LabelBorder().SetfpColor(s.BorderColor);
        label.SetFontColor(s.FontColor);
        label.LabelFill().SetfpKind(components::fkSym);
        label.LabelFill().SetfpColor1(s.Color1);
        label.LabelFill().SetfpColor2(s.Color2);
        break;
    }
    label.SetTag(scheme);
}

void SetLedState(components::TLedLabel& led, uint8_t state, bool on) {
    static constexpr components::TColorLed kByState[] = {components::lcdGreen, components::lcdYellow,
                                                         components::lcdRed, components::lcdGray};
    if (state < std::size(kByState)) led.LedColor().SetllColor(kByState[state]);
    led.SetLedOn(on);
}

}  // namespace app
