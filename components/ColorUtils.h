// Colour arithmetic of the controls: channels of a colour, ramps between two colours and the
// hue-luminance-saturation model on the 0..240 scale. Pure functions; divisions truncate toward zero.
#pragma once

#include "components/Color.h"
#include "components/GraphTypes.h"

namespace components {

constexpr int kHlsMax = 240;            // top of the luminance and saturation scale; hues run 0..239
constexpr uint8_t kUndefinedHue = 160;  // the hue given to greys
constexpr int kMaxRampSteps = 255;      // ColorAtStep never divides a ramp finer than this

// The three channels 0..255 of the colour, system colours resolved first.
void SplitColor(TColor color, int& r, int& g, int& b);

// Per-step change of each channel from color1 to color2 over steps steps; all 0 when steps is 0.
void ColorStepIncrements(int steps, TColor color1, TColor color2, float& dR, float& dG, float& dB);

// Channels of step index of a ramp of steps steps (integer increments, so the last step need not
// reach color2 exactly). steps above 255 count as 255; 0 steps give color1.
void ColorAtStep(int steps, int index, TColor color1, TColor color2, int& r, int& g, int& b);
TColor ColorAtStep(int steps, int index, TColor color1, TColor color2);

TColor HLSToRGB(uint8_t hue, uint8_t lum, uint8_t sat);
inline TColor HLSToRGB(const THLSTriple& hls) { return HLSToRGB(hls.Hue, hls.Lum, hls.Sat); }
int HueToRGB(int m1, int m2, int hue);
// Reads the low three bytes as red, green, blue (system colours are not resolved).
void RGBToHLS(TColor color, THLSTriple& hls);
THLSTriple RGBToHLS(TColor color);

// The colour with its luminance moved by amount, kept within 0..kHlsMax.
TColor RaiseLuminance(TColor color, int amount);

}  // namespace components
