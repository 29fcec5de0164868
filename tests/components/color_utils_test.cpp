// Colour arithmetic: channels, ramps and the HLS model on the 0..240 scale.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>
#include <cstdlib>

#include "components/ColorUtils.h"
#include "tests/components/widget_test_app.h"

using namespace components;

namespace {

struct HlsCase {
    const char* name;
    TColor color;
    THLSTriple hls;
};

TEST(ColorUtilsTest, RgbToHlsOfKnownColours) {
    const HlsCase cases[] = {
        {"red", 0x0000FF, {0, 120, 240}},   {"green", 0x00FF00, {80, 120, 240}},
        {"blue", 0xFF0000, {160, 120, 240}}, {"white", 0xFFFFFF, {160, 240, 0}},
        {"black", 0x000000, {160, 0, 0}},    {"grey 128", 0x808080, {160, 120, 0}},
        {"yellow", 0x00FFFF, {40, 120, 240}}, {"dark red", 0x000080, {0, 60, 240}},
        {"light red", 0x8080FF, {0, 180, 240}},
    };
    for (const HlsCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RGBToHLS(c.color), c.hls);
    }
}

TEST(ColorUtilsTest, RgbToHlsIgnoresTheHighByte) {
    EXPECT_EQ(RGBToHLS(clActiveBorder), RGBToHLS(TColor(clActiveBorder & 0xFFFFFF)));
}

TEST(ColorUtilsTest, HlsToRgbOfKnownTriples) {
    EXPECT_EQ(HLSToRGB(0, 120, 240), 0x0000FFu);
    EXPECT_EQ(HLSToRGB(80, 120, 240), 0x00FF00u);
    EXPECT_EQ(HLSToRGB(160, 120, 240), 0xFF0000u);
    for (int hue : {0, 77, 160, 239}) EXPECT_EQ(HLSToRGB(uint8_t(hue), 240, 0), 0xFFFFFFu) << hue;
    EXPECT_EQ(HLSToRGB(33, 0, 0), 0x000000u);
    EXPECT_EQ(HLSToRGB(160, 120, 0), 0x7F7F7Fu);  // 120 * 255 div 240
}

TEST(ColorUtilsTest, HlsToRgbStaysInRangeAboveTheScale) {
    // 250 lies above the luminance scale; the channels must not wrap to dark values.
    const TColor c = HLSToRGB(0, 250, 240);
    EXPECT_EQ(GetRValue(c), 255);
    EXPECT_EQ(HLSToRGB(0, 250, 0), 0xFFFFFFu);
}

TEST(ColorUtilsTest, RoundTripComesBackWithinAFewUnits) {
    int worst = 0;
    bool someInexact = false;
    for (int r = 0; r < 256; r += 17)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 51) {
                const TColor c = RGBToColor(r, g, b);
                const TColor back = HLSToRGB(RGBToHLS(c));
                const int d = std::max({std::abs(GetRValue(back) - r), std::abs(GetGValue(back) - g),
                                        std::abs(GetBValue(back) - b)});
                worst = std::max(worst, d);
                someInexact = someInexact || d > 0;
            }
    EXPECT_LE(worst, 4);
    EXPECT_TRUE(someInexact);
}

TEST(ColorUtilsTest, HueToRgbSegments) {
    // m1 = 0, m2 = 240: rising, flat top, falling, flat bottom; hues wrap.
    EXPECT_EQ(HueToRGB(0, 240, 0), 0);
    EXPECT_EQ(HueToRGB(0, 240, 20), 120);
    EXPECT_EQ(HueToRGB(0, 240, 60), 240);
    EXPECT_EQ(HueToRGB(0, 240, 140), 120);
    EXPECT_EQ(HueToRGB(0, 240, 200), 0);
    EXPECT_EQ(HueToRGB(0, 240, -220), 120);  // -220 is 20
    EXPECT_EQ(HueToRGB(0, 240, 260), 120);
}

TEST(ColorUtilsTest, StepIncrements) {
    float dr, dg, db;
    ColorStepIncrements(255, 0x000000, 0xFF80FF, dr, dg, db);
    EXPECT_FLOAT_EQ(dr, 1.0f);
    EXPECT_FLOAT_EQ(dg, 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(db, 1.0f);
    ColorStepIncrements(0, 0x000000, 0xFFFFFF, dr, dg, db);
    EXPECT_EQ(dr, 0.0f);
    EXPECT_EQ(dg, 0.0f);
    EXPECT_EQ(db, 0.0f);
}

TEST(ColorUtilsTest, ColorAtStep) {
    struct Case {
        int steps, index;
        TColor c1, c2, expected;
    } cases[] = {
        {4, 0, 0x000000, 0x0000FF, 0x000000},
        {4, 2, 0x000000, 0x0000FF, 0x00007E},  // 2 * (255 div 4)
        {4, 4, 0x000000, 0x0000FF, 0x0000FC},  // the last step falls short of the end
        {3, 1, 0x0000FF, 0x000000, 0x0000AA},  // falling: 255 + (-255 div 3)
        {0, 5, 0x123456, 0xFFFFFF, 0x123456},  // no steps: the first colour
        {300, 100, 0x000000, 0xFFFFFF, 0x646464},  // 300 counts as 255
        {255, 100, 0x000000, 0xFFFFFF, 0x646464},
        {300, 290, 0x000000, 0xFFFFFF, 0xFFFFFF},  // never runs past the end of the ramp
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.steps << "/" << c.index);
        EXPECT_EQ(ColorAtStep(c.steps, c.index, c.c1, c.c2), c.expected);
    }
}

TEST(ColorUtilsTest, SplitColorResolvesSystemColours) {
    int r, g, b;
    SplitColor(0x336699, r, g, b);
    EXPECT_EQ(r, 0x99);
    EXPECT_EQ(g, 0x66);
    EXPECT_EQ(b, 0x33);
    const QColor face = QGuiApplication::palette().color(QPalette::Active, QPalette::Button);
    SplitColor(clBtnFace, r, g, b);
    EXPECT_EQ(r, face.red());
    EXPECT_EQ(g, face.green());
    EXPECT_EQ(b, face.blue());
}

TEST(ColorUtilsTest, RaiseLuminanceKeepsWithinTheScale) {
    EXPECT_EQ(RaiseLuminance(0x7F7F7F, 0), HLSToRGB(RGBToHLS(0x7F7F7F)));
    EXPECT_EQ(RaiseLuminance(0x000000, 60), HLSToRGB(kUndefinedHue, 60, 0));  // a grey keeps no hue
    EXPECT_EQ(RaiseLuminance(0xC0C0C0, 240), 0xFFFFFFu);  // clamped at the top
    EXPECT_EQ(RaiseLuminance(0x404040, -240), 0x000000u);  // and at the bottom
}

}  // namespace
