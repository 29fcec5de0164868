#include "components/ColorUtils.h"

#include <algorithm>

namespace components {

void SplitColor(TColor color, int& r, int& g, int& b) {
    const TColor rgb = ColorToRGB(color);
    r = GetRValue(rgb);
    g = GetGValue(rgb);
    b = GetBValue(rgb);
}

void ColorStepIncrements(int steps, TColor color1, TColor color2, float& dR, float& dG, float& dB) {
    if (steps == 0) {
        dR = dG = dB = 0.0f;
        return;
    }
    int r1, g1, b1, r2, g2, b2;
    SplitColor(color1, r1, g1, b1);
    SplitColor(color2, r2, g2, b2);
    dR = float(r2 - r1) / float(steps);
    dG = float(g2 - g1) / float(steps);
    dB = float(b2 - b1) / float(steps);
}

void ColorAtStep(int steps, int index, TColor color1, TColor color2, int& r, int& g, int& b) {
    int r1, g1, b1, r2, g2, b2;
    SplitColor(color1, r1, g1, b1);
    SplitColor(color2, r2, g2, b2);
    steps = std::min(steps, kMaxRampSteps);
    if (steps <= 0) {
        r = r1;
        g = g1;
        b = b1;
        return;
    }
    // Past the last step the ramp stays at its end instead of running beyond color2.
    index = std::clamp(index, 0, steps);
    r = index * ((r2 - r1) / steps) + r1;
    g = index * ((g2 - g1) / steps) + g1;
    b = index * ((b2 - b1) / steps) + b1;
}

TColor ColorAtStep(int steps, int index, TColor color1, TColor color2) {
    int r, g, b;
    ColorAtStep(steps, index, color1, color2, r, g, b);
    return RGBToColor(r, g, b);
}

int HueToRGB(int m1, int m2, int hue) {
    int h = hue % kHlsMax;
    if (h < 0) h += kHlsMax;
    if (h < 40) return m1 + ((m2 - m1) * h + 20) / 40;
    if (h < 120) return m2;
    if (h < 160) return m1 + ((m2 - m1) * (160 - h) + 20) / 40;
    return m1;
}

TColor HLSToRGB(uint8_t hue, uint8_t lum, uint8_t sat) {
    if (sat == 0) {
        const int v = std::min(lum * 255 / kHlsMax, 255);
        return RGBToColor(v, v, v);
    }
    const int m2 = lum <= 120 ? (lum * (kHlsMax + sat) + 120) / kHlsMax : lum + sat - (lum * sat + 120) / kHlsMax;
    const int m1 = 2 * lum - m2;
    const int r = (HueToRGB(m1, m2, hue + 80) * 255 + 120) / kHlsMax;
    const int g = (HueToRGB(m1, m2, hue) * 255 + 120) / kHlsMax;
    const int b = (HueToRGB(m1, m2, hue - 80) * 255 + 120) / kHlsMax;
    // A luminance or saturation above the scale would overflow a channel: keep each inside 0..255.
    return RGBToColor(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
}

void RGBToHLS(TColor color, THLSTriple& hls) {
    const int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    const int maxC = std::max({r, g, b});
    const int minC = std::min({r, g, b});
    const int lum = ((maxC + minC) * kHlsMax + 255) / 510;
    hls.Lum = uint8_t(lum);
    if (maxC == minC) {
        hls.Sat = 0;
        hls.Hue = kUndefinedHue;
        return;
    }
    const int sum = maxC + minC;
    const int d = maxC - minC;
    const int sat = lum <= 120 ? (d * kHlsMax + sum / 2) / sum : (d * kHlsMax + (510 - sum) / 2) / (510 - sum);
    hls.Sat = uint8_t(sat);
    const int rd = (d / 2 + (maxC - r) * 40) / d;
    const int gd = (d / 2 + (maxC - g) * 40) / d;
    const int bd = (d / 2 + (maxC - b) * 40) / d;
    int hue;
    if (r == maxC)
        hue = bd - gd;
    else if (g == maxC)
        hue = rd + 80 - bd;
    else
        hue = gd + 160 - rd;
    hue %= kHlsMax;
    if (hue < 0) hue += kHlsMax;
    hls.Hue = uint8_t(hue);
}

THLSTriple RGBToHLS(TColor color) {
    THLSTriple hls;
    RGBToHLS(color, hls);
    return hls;
}

TColor RaiseLuminance(TColor color, int amount) {
    THLSTriple hls = RGBToHLS(color);
    hls.Lum = uint8_t(std::clamp(int(hls.Lum) + amount, 0, kHlsMax));
    return HLSToRGB(hls);
}

}  // namespace components
