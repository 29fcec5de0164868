// The LED label: its colour table, auto-off flashing and painting.
#include <gtest/gtest.h>

#include <QWidget>

#include "components/LedLabel.h"
#include "tests/support/event_pump.h"
#include "tests/components/paint_counter.h"
#include "tests/components/render_helpers.h"
#include "tests/components/widget_test_app.h"

using namespace components;
using fw_test::kUnpainted;
using fw_test::PixelAt;

namespace {

using namespace std::chrono_literals;

class LedTest : public ::testing::Test {
protected:
    LedTest() : led(&form) {
        form.resize(40, 40);
        led.setGeometry(10, 10, 12, 12);
        form.show();
    }
    TColor Centre() { return PixelAt(fw_test::Render(form), 16, 16); }

    QWidget form;
    TLedLabel led;
};

TEST_F(LedTest, AutoOffIsClamped) {
    const std::pair<int, int> cases[] = {{20, 50}, {20000, 10000}, {-1, 50}, {300, 300}, {0, 0}};
    for (const auto& [value, expected] : cases) {
        led.SetLedAutoOff(value);
        EXPECT_EQ(led.LedAutoOff(), expected) << value;
    }
    led.LedColor().SetllBorder(9);
    EXPECT_EQ(led.LedColor().llBorder(), 5);
}

TEST_F(LedTest, ColourTableByStateAndFill) {
    struct Case {
        TColorLed colour;
        TFillKind kind;
        bool on;
        TColor solid, grad1, grad2;
    } cases[] = {
        {lcdRed, fkNone, true, 0x0000FF, 0, 0},
        {lcdRed, fkGrad, true, 0x0000E8, 0x0000FF, 0x9BCDFF},
        {lcdGreen, fkNone, false, 0x008000, 0, 0},
        {lcdGreen, fkSym, false, 0x006600, 0x002B00, 0x008000},
        {lcdYellow, fkGrad, false, 0x002D2D, 0x002D2D, 0x008080},
        {lcdGray, fkNone, true, 0xC0C0C0, 0, 0},
        {lcdOrange, fkSym, false, 0x003871, 0x000040, 0x0060BF},
        {lcdBlue, fkGrad, true, 0xC08000, 0xFF8000, 0xFFFF00},
        {lcdCustom, fkNone, false, 0x00003E, 0, 0},
        {lcdCustom, fkNone, true, 0x5C5C5C, 0, 0},
        {lcdCustom, fkGrad, true, 0x5C5C5C, 0x5C5C5C, 0x0000FF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.colour) << "/" << int(c.kind) << "/" << c.on);
        TLedLabel l(&form);
        l.LedFill().SetfpKind(c.kind);
        l.LedColor().SetllColor(c.colour);
        l.SetLedOn(c.on);
        EXPECT_EQ(l.SolidColor(), c.solid);
        if (c.kind != fkNone) {
            EXPECT_EQ(l.GradColor1(), c.grad1);
            EXPECT_EQ(l.GradColor2(), c.grad2);
        }
    }
}

TEST_F(LedTest, FlatLedPaintsItsStateColour) {
    led.LedColor().SetllColor(lcdGreen);
    EXPECT_EQ(Centre(), 0x008000u);
    led.SetLedOn(true);
    EXPECT_EQ(Centre(), 0x00FF00u);
    led.SetLedOn(false);  // no auto-off: immediate
    EXPECT_EQ(Centre(), 0x008000u);
}

TEST_F(LedTest, ColourChangesPaintAtOnceShapeChangesLater) {
    fw_test::PumpFor(20ms);
    fw_test::PaintCounter paints(&led);
    led.LedColor().SetllColor(lcdBlue);
    EXPECT_EQ(paints.count, 1);
    led.SetLedOn(true);
    EXPECT_EQ(paints.count, 2);
    led.LedFill().SetfpKind(fkGrad);
    EXPECT_EQ(paints.count, 3);
    led.LedShape().SetshShape(psEllipse);
    led.LedBevelOuter().SetbpWidth(1);
    EXPECT_EQ(paints.count, 3);
    ASSERT_TRUE(fw_test::PumpUntil([&] { return paints.count > 3; }, 2000ms));
}

// The LED is composed where it sits in its parent, as the bevel label: its symmetric fill splits by
// the parity of the parent's rows, so a lamp at an odd row shows the parent's gradient there.
TEST_F(LedTest, SymmetricFillSplitsByTheParentsRows) {
    led.LedFill().SetfpKind(fkSym);
    led.LedColor().SetllColor(lcdGreen);
    led.SetLedOn(true);
    constexpr TColor kGreenOn1 = 0x5BB700, kGreenOn2 = 0x80FF80;
    for (const QPoint at : {QPoint(10, 10), QPoint(10, 11), QPoint(10, 17)}) {
        led.move(at);
        const QImage image = fw_test::Render(form).copy(led.geometry());
        EXPECT_TRUE(image == fw_test::SymmetricGradientAt(led.geometry(), kGreenOn1, kGreenOn2, gsVertical))
            << "at " << at.x() << "," << at.y();
    }
}

TEST_F(LedTest, InvisibleLedPaintsNothing) {
    led.SetVisible(false);
    EXPECT_EQ(Centre(), kUnpainted);
    led.SetVisible(true);
    EXPECT_EQ(Centre(), 0x000080u);
}

TEST_F(LedTest, BorderBevelsAndRing) {
    led.setGeometry(10, 10, 20, 20);
    led.LedBorder().SetfpWidth(1);
    led.LedBorder().SetfpColor(0x112233);
    led.LedBevelOuter().SetbpWidth(1);  // lowered: upper-left white, lower-right grey
    led.LedColor().SetllBorder(1);
    led.LedColor().SetllColor(lcdRed);
    led.LedFill().SetfpKind(fkGrad);  // a vertical gradient, so the ring's solid colour stands out
    led.SetLedOn(true);
    const QImage image = fw_test::Render(form);
    EXPECT_EQ(PixelAt(image, 10, 20), 0x112233u);  // border
    EXPECT_EQ(PixelAt(image, 11, 20), 0xFFFFFFu);  // outer bevel, left edge
    EXPECT_EQ(PixelAt(image, 28, 20), 0x808080u);  // outer bevel, right edge
    // The ring lies inside the bevel shrunk once more by border and bevel: x = 10 + 4.
    EXPECT_EQ(PixelAt(image, 14, 20), 0x0000E8u);
    EXPECT_NE(PixelAt(image, 12, 20), 0x0000E8u);  // the gradient between bevel and ring
}

TEST_F(LedTest, ShadedRingsLitSkipTheOuterShades) {
    led.LedFill().SetfpKind(fkGrad);
    led.LedFill().SetfpStyle(gs3D);
    led.LedColor().SetllColor(lcdGray);
    const TColor offEdge = PixelAt(fw_test::Render(form), 10, 16);
    EXPECT_EQ(offEdge, 0x333333u);  // off: the outer ring is the first gradient colour
    led.SetLedOn(true);
    const TColor onEdge = PixelAt(fw_test::Render(form), 10, 16);
    EXPECT_GT(GetRValue(onEdge), 0xC0);  // on: starts two shades in
}

// A dark green 10 x 10 LED in ring shading: 5 rings on (0,0)-(9,9) from 0x002B00 in steps of 0x11 to
// 0x008000; its coloured ring of width 1 in the solid 0x006600 is the outline of the rectangle lowered
// with the rings, (0,0)-(9,9), so it lies on column and row 8 and leaves the last ones to ring 0.
TEST_F(LedTest, ColouredRingFollowsTheRingShadingsRectangle) {
    led.setGeometry(10, 10, 10, 10);
    led.LedFill().SetfpKind(fkGrad);
    led.LedFill().SetfpStyle(gs3D);
    led.LedColor().SetllColor(lcdGreen);
    led.LedColor().SetllBorder(1);
    const QImage image = fw_test::Render(form).copy(led.geometry());
    const struct {
        int x, y;
        TColor expected;
    } pixels[] = {
        {0, 4, 0x006600}, {4, 0, 0x006600}, {8, 4, 0x006600}, {4, 8, 0x006600}, {8, 8, 0x006600},
        {9, 4, 0x002B00}, {4, 9, 0x002B00}, {9, 9, 0x002B00},  // ring 0
        {1, 4, 0x003C00}, {4, 1, 0x003C00},                    // ring 1, its right and lower edges under the ring
        {7, 4, 0x004D00},                                      // ring 2
        {4, 4, 0x008000},                                      // the innermost ring
    };
    for (const auto& p : pixels) EXPECT_EQ(PixelAt(image, p.x, p.y), p.expected) << p.x << "," << p.y;
}

TEST_F(LedTest, AutoOffFlashesThenIgnoresSwitchingForTheDeadTime) {
    led.SetLedAutoOff(100);
    led.SetLedOn(true);
    EXPECT_TRUE(led.LedOn());
    led.SetLedOn(true);   // already on: nothing
    led.SetLedOn(false);  // ignored while lit
    EXPECT_TRUE(led.LedOn());
    ASSERT_TRUE(fw_test::PumpUntil([&] { return !led.LedOn(); }, 3000ms));
    EXPECT_TRUE(led.AutoOffPending());  // dead time
    led.SetLedOn(true);
    EXPECT_FALSE(led.LedOn());
    ASSERT_TRUE(fw_test::PumpUntil([&] { return !led.AutoOffPending(); }, 3000ms));
    led.SetLedOn(true);
    EXPECT_TRUE(led.LedOn());
}

TEST(LedLifetimeTest, PendingAutoOffDiesWithTheLed) {
    QWidget form;
    auto* led = new TLedLabel(&form);
    led->SetLedAutoOff(50);
    led->SetLedOn(true);
    delete led;
    fw_test::PumpFor(120ms);  // an expiry reaching the freed LED would fail under the sanitizer
}

}  // namespace
