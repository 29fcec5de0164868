// The panel looks (and which of them spare a switched-on panel), the bevel-label schemes and the LED
// colour by state.
#include <gtest/gtest.h>

#include "common/ColourPresets.h"
#include "components/BevelLabel.h"
#include "components/CanvasPanelEx.h"
#include "components/LedLabel.h"
#include "tests/components/widget_test_app.h"

using namespace components;

namespace {

struct Look {
    bool grayScale;
    TColor color2, color1, font;
};

Look LookOf(TCanvasPanelEx& p) {
    return {p.ImageProp().ipGrayScale(), p.Fill().fpColor2(), p.Fill().fpColor1(), p.FontColor()};
}

void ExpectLook(TCanvasPanelEx& p, const Look& want) {
    const Look got = LookOf(p);
    EXPECT_EQ(got.grayScale, want.grayScale);
    EXPECT_EQ(got.color2, want.color2);
    EXPECT_EQ(got.color1, want.color1);
    EXPECT_EQ(got.font, want.font);
}

struct PanelCase {
    const char* name;
    void (*apply)(TCanvasPanelEx&);
    bool sparesSwitchedOn;
    Look look;  // grayScale of the "down" look is the panel's own (set true beforehand here)
};

const Look kHover{false, 0xFFFFFF, 0xCCBABA, 0x800000};
const Look kNormal{true, 0xF2F2F2, 0x999999, 0x800000};

const PanelCase kPanelCases[] = {
    {"hover", app::SetPanelHover, true, kHover},
    {"normal", app::SetPanelNormal, true, kNormal},
    {"hover always", app::SetPanelHoverAlways, false, kHover},
    {"normal always", app::SetPanelNormalAlways, false, kNormal},
    {"down", app::SetPanelDown, true, {true, 0xFFE8E8, 0xAA6666, 0xFFFF00}},
    {"up", app::SetPanelUp, true, kHover},
    {"active", app::SetPanelActive, false, {false, 0xFFFFFF, 0xBADDBA, 0x800000}},
};

TEST(ColourPresetsTest, PanelLooksAndTheSwitchedOnPanel) {
    for (const PanelCase& c : kPanelCases) {
        SCOPED_TRACE(c.name);
        TCanvasPanelEx plain;
        plain.ImageProp().SetipGrayScale(true);
        c.apply(plain);
        ExpectLook(plain, c.look);

        TCanvasPanelEx switchedOn;
        switchedOn.SetTag(app::kPanelTagSwitchedOn);
        switchedOn.ImageProp().SetipGrayScale(true);
        switchedOn.Fill().SetfpColor1(0x123456);
        switchedOn.Fill().SetfpColor2(0x654321);
        switchedOn.SetFontColor(0x111111);
        const Look before = LookOf(switchedOn);
        c.apply(switchedOn);
        ExpectLook(switchedOn, c.sparesSwitchedOn ? before : c.look);
        EXPECT_EQ(switchedOn.Tag(), app::kPanelTagSwitchedOn);
    }
}

TEST(ColourPresetsTest, DownKeepsThePicturesGreyOrColour) {
    TCanvasPanelEx panel;
    panel.ImageProp().SetipGrayScale(false);
    app::SetPanelDown(panel);
    EXPECT_FALSE(panel.ImageProp().ipGrayScale());
}

TEST(ColourPresetsTest, BevelLabelSchemes) {
    struct Case {
        uint8_t scheme;
        TColor border, font, c1, c2;
    };
    const Case cases[] = {
        {0, 0x808080, 0x808080, 0x000000, 0x575757}, {1, 0x0000FF, 0x808080, 0x000055, 0x000080},
        {3, 0x008000, 0x80FF80, 0x004000, 0x00AA00}, {4, 0xA00000, 0xFFFF00, 0x663300, 0xFF8000},
        {5, 0x008080, 0x00FFFF, 0x004444, 0x00A7A7}, {6, 0x400080, 0xEAD5FF, 0x400040, 0xC080FF},
        {7, 0x0080FF, 0xD9ECFF, 0x000055, 0x0080FF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.scheme));
        TBevelLabel label;
        app::SetBevelLabelScheme(label, c.scheme);
        EXPECT_EQ(label.LabelBorder().fpColor(), c.border);
        EXPECT_EQ(label.FontColor(), c.font);
        EXPECT_EQ(label.LabelFill().fpKind(), fkSym);
        EXPECT_EQ(label.LabelFill().fpColor1(), c.c1);
        EXPECT_EQ(label.LabelFill().fpColor2(), c.c2);
        EXPECT_EQ(label.Tag(), c.scheme);
    }
}

TEST(ColourPresetsTest, SchemesWithoutColoursOnlySetTheTag) {
    for (uint8_t scheme : {uint8_t(2), uint8_t(8), uint8_t(255)}) {
        TBevelLabel label;
        label.LabelBorder().SetfpColor(0x010203);
        label.SetFontColor(0x040506);
        label.LabelFill().SetfpKind(fkGrad);
        label.LabelFill().SetfpColor1(0x070809);
        app::SetBevelLabelScheme(label, scheme);
        EXPECT_EQ(label.LabelBorder().fpColor(), 0x010203u);
        EXPECT_EQ(label.FontColor(), 0x040506u);
        EXPECT_EQ(label.LabelFill().fpKind(), fkGrad);
        EXPECT_EQ(label.LabelFill().fpColor1(), 0x070809u);
        EXPECT_EQ(label.Tag(), scheme);
    }
}

TEST(ColourPresetsTest, LedStates) {
    const std::pair<uint8_t, TColorLed> cases[] = {{0, lcdGreen}, {1, lcdYellow}, {2, lcdRed}, {3, lcdGray}};
    for (auto [state, colour] : cases) {
        TLedLabel led;
        led.LedColor().SetllColor(lcdBlue);
        app::SetLedState(led, state, true);
        EXPECT_EQ(led.LedColor().llColor(), colour) << int(state);
        EXPECT_TRUE(led.LedOn());
        app::SetLedState(led, state, false);
        EXPECT_FALSE(led.LedOn());
    }
    TLedLabel led;
    led.LedColor().SetllColor(lcdOrange);
    app::SetLedState(led, 9, true);
    EXPECT_EQ(led.LedColor().llColor(), lcdOrange);
    EXPECT_TRUE(led.LedOn());
}

}  // namespace
