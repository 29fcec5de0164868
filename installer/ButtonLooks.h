// The looks of Hollarin's button panels under the mouse: hover on enter, normal on leave, pressed and
// released for the left button (the panel presets Framewick's windows use too).
#pragma once

#include "components/Color.h"

namespace hollarin {

class TCanvasPanelEx;

// The font colour that "Get VLC" and "Exit" take back when the mouse leaves them.
constexpr components::TColor kButtonNormalFontColor = 0x800000;

// leaveFontColor: also set the caption's font colour when the mouse leaves (0 keeps the preset's).
void WireButtonLooks(TCanvasPanelEx& button, components::TColor leaveFontColor = 0);

}  // namespace hollarin
