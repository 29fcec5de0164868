// The shared looks of the windows: the captioned panels that serve as buttons (hover, normal, pressed,
// released, switched on), the numbered colour schemes of the bevel labels and the LED colour by state.
// A panel whose Tag is kPanelTagSwitchedOn (for example the tool bar's Log button while the log window
// shows) keeps its look under the mouse-driven presets; only the "Always" pair and SetPanelActive
// change it.
#pragma once

#include <cstdint>

namespace components {
class TCanvasPanelEx;
class TBevelLabel;
class TLedLabel;
}  // namespace components

namespace app {

constexpr int kPanelTagSwitchedOn = 1;

void SetPanelHover(components::TCanvasPanelEx& panel);
void SetPanelNormal(components::TCanvasPanelEx& panel);
void SetPanelHoverAlways(components::TCanvasPanelEx& panel);
void SetPanelNormalAlways(components::TCanvasPanelEx& panel);
void SetPanelDown(components::TCanvasPanelEx& panel);
void SetPanelUp(components::TCanvasPanelEx& panel);
void SetPanelActive(components::TCanvasPanelEx& panel);

// Schemes 0, 1 and 3 to 7 set the label's colours; every scheme (2 and those above 7 only this) ends in
// Tag := scheme.
void SetBevelLabelScheme(components::TBevelLabel& label, uint8_t scheme);

// State 0 green, 1 yellow, 2 red, 3 grey; any other state keeps the colour. Then LedOn := on.
void SetLedState(components::TLedLabel& led, uint8_t state, bool on);

}  // namespace app
