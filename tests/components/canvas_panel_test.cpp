// The captioned panel: painting of border, bevel, shape, background and caption; mouse enter and
// leave with the cursor poll; the light effect.
#include <gtest/gtest.h>

#include <QCursor>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QWidget>
#include <set>

#include "components/CanvasPanelEx.h"
#include "components/ColorUtils.h"
#include "tests/support/event_pump.h"
#include "tests/components/paint_counter.h"
#include "tests/components/render_helpers.h"
#include "tests/components/widget_test_app.h"

using namespace components;
using fw_test::kUnpainted;
using fw_test::PixelAt;

namespace {

using namespace std::chrono_literals;

class CanvasPanelTest : public ::testing::Test {
protected:
    CanvasPanelTest() : panel(&form) {
        form.resize(300, 100);
        panel.move(20, 20);
        form.show();
        panel.PanelMain().SetbmBkgndColor(0x00C0FF);
    }
    QImage PanelImage() { return fw_test::Render(form).copy(panel.geometry()); }
    int CountColour(const QImage& image, TColor colour) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += PixelAt(image, x, y) == colour;
        return n;
    }
    // Moves the cursor and lets the platform deliver what that move causes.
    void CursorTo(QPoint panelPos) {
        QCursor::setPos(panel.mapToGlobal(panelPos));
        QCoreApplication::processEvents();
    }
    void Enter(QPoint at = {10, 10}) {
        CursorTo(at);
        const QPointF local(at);
        QEnterEvent event(local, local, QPointF(panel.mapToGlobal(at)));
        QApplication::sendEvent(&panel, &event);
    }
    void Leave(QPoint to = {-50, -50}) {
        CursorTo(to);
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(&panel, &event);
    }
    void Mouse(QEvent::Type type, QPoint at) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent event(type, QPointF(at), QPointF(panel.mapToGlobal(at)), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(&panel, &event);
    }

    QWidget form;
    TCanvasPanelEx panel;
};

TEST_F(CanvasPanelTest, DefaultBorderBevelAndBackground) {
    EXPECT_EQ(panel.size(), QSize(185, 40));
    const QImage image = PanelImage();
    EXPECT_EQ(PixelAt(image, 0, 20), clBlack);     // border line
    EXPECT_EQ(PixelAt(image, 184, 39), clBlack);
    EXPECT_EQ(PixelAt(image, 1, 20), clWhite);     // bevel, upper and left edges
    EXPECT_EQ(PixelAt(image, 90, 1), clWhite);
    EXPECT_EQ(PixelAt(image, 183, 20), clGray);    // lower and right edges
    EXPECT_EQ(PixelAt(image, 90, 38), clGray);
    EXPECT_EQ(PixelAt(image, 90, 20), 0x00C0FFu);  // background
    EXPECT_EQ(panel.contentsRect(), panel.rect().adjusted(1, 1, -1, -1));
}

TEST_F(CanvasPanelTest, BorderWidths) {
    panel.PanelMain().SetbmBorderLineWidth(0);
    panel.BevelProp().SetbpWidth(0);
    EXPECT_EQ(panel.contentsRect(), panel.rect());
    EXPECT_EQ(PixelAt(PanelImage(), 0, 20), 0x00C0FFu);

    panel.PanelMain().SetbmBorderLineWidth(3);
    panel.PanelMain().SetbmBorderLineColor(0x112233);
    const QImage image = PanelImage();
    for (int x : {0, 1, 2}) EXPECT_EQ(PixelAt(image, x, 20), 0x112233u) << x;
    EXPECT_EQ(PixelAt(image, 3, 20), 0x00C0FFu);  // the inner area starts 3 pixels in
    EXPECT_EQ(PixelAt(image, 181, 20), 0x00C0FFu);
    EXPECT_EQ(PixelAt(image, 182, 20), 0x112233u);
    EXPECT_EQ(panel.contentsRect(), panel.rect().adjusted(3, 3, -3, -3));
}

TEST_F(CanvasPanelTest, RoundShapesDrawNoBevelAndLeaveTheirCorners) {
    for (TPanelShape shape : {psRoundRect, psEllipse}) {
        SCOPED_TRACE(int(shape));
        panel.Shape().SetshShape(shape);
        panel.Shape().SetshEdgeX(20);
        panel.Shape().SetshEdgeY(20);
        panel.PanelMain().SetbmBorderLineWidth(0);
        const QImage image = PanelImage();
        EXPECT_EQ(PixelAt(image, 0, 0), kUnpainted);
        EXPECT_EQ(CountColour(image, clWhite), 0);
        EXPECT_EQ(CountColour(image, clGray), 0);
        EXPECT_EQ(PixelAt(image, 92, 20), 0x00C0FFu);
    }
}

TEST_F(CanvasPanelTest, GradientAndPictureBackgrounds) {
    panel.PanelMain().SetbmBorderLineWidth(0);
    panel.BevelProp().SetbpWidth(0);
    panel.Fill().SetfpKind(fkGrad);
    panel.Fill().SetfpColor1(0x000000);
    panel.Fill().SetfpColor2(0xFF0000);
    QImage image = PanelImage();
    EXPECT_LT(GetBValue(PixelAt(image, 90, 0)), 20);
    EXPECT_GT(GetBValue(PixelAt(image, 90, 39)), 235);

    QImage tile(10, 10, QImage::Format_RGB32);
    tile.fill(QColor(0, 255, 0));
    panel.SetBkgndPicture(tile);  // a smaller picture tiles
    image = PanelImage();
    EXPECT_EQ(PixelAt(image, 5, 5), 0x00FF00u);
    EXPECT_EQ(PixelAt(image, 150, 35), 0x00FF00u);
}

TEST_F(CanvasPanelTest, PictureIsTransparentInItsLowerLeftColourAndGreyOnRequest) {
    QImage picture(6, 6, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 255));         // transparent colour (lower-left pixel)
    picture.setPixelColor(2, 2, QColor(255, 255, 0));
    panel.ImageProp().SetipImage(true);
    panel.ImageProp().SetipLeft(30);
    panel.ImageProp().SetipTop(10);
    panel.SetPicture(picture);
    QImage image = PanelImage();
    EXPECT_EQ(PixelAt(image, 32, 12), 0x00FFFFu);  // yellow
    EXPECT_EQ(PixelAt(image, 31, 11), 0x00C0FFu);  // transparent: the background shows
    panel.ImageProp().SetipGrayScale(true);
    image = PanelImage();
    EXPECT_EQ(PixelAt(image, 32, 12), 0xAAAAAAu);
}

// The caption centred, then at the left and at the right edge of the inner area (the disabled look has
// a test of its own below).
TEST_F(CanvasPanelTest, CaptionIsCentredOrAtTheLeftOrRightEdge) {
    panel.SetFontColor(0x0000FF);
    panel.SetCaption("Go");
    auto redColumns = [&](const QImage& image) {
        int left = image.width(), right = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (PixelAt(image, x, y) == 0x0000FFu) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        return std::pair(left, right);
    };
    auto [l, r] = redColumns(PanelImage());
    ASSERT_GE(r, 0);
    EXPECT_LE(std::abs((l + r) / 2 - 92), 3);  // centred
    panel.CaptionProp().SetcpAlignment(caLeft);
    std::tie(l, r) = redColumns(PanelImage());
    EXPECT_LE(l, 2 + 1 + 3);  // R.Left (after border and bevel) + border width + 1
    panel.CaptionProp().SetcpAlignment(caRight);
    std::tie(l, r) = redColumns(PanelImage());
    EXPECT_GE(r, 184 - 2 - 2 - 10);  // the glyphs end a little inside their advance
}

// Disabled, the caption is grey with a white copy one pixel down and right, and nothing else changes:
// glyphs drawn without smoothing, so every caption pixel has exactly the one colour, compared inside
// the bevel (whose edges are grey and white themselves).
TEST_F(CanvasPanelTest, DisabledCaptionIsGreyOverAWhiteCopy) {
    QFont sharp = panel.font();
    sharp.setStyleStrategy(QFont::NoAntialias);
    panel.setFont(sharp);
    panel.SetFontColor(0x0000FF);
    panel.SetCaption("Go");
    const QRect inside = panel.rect().adjusted(2, 2, -2, -2);
    auto pixelsOf = [&](const QImage& image, TColor colour) {
        std::set<std::pair<int, int>> pixels;
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                if (PixelAt(image, x, y) == colour) pixels.insert({x, y});
        return pixels;
    };
    const std::set<std::pair<int, int>> glyphs = pixelsOf(PanelImage(), 0x0000FF);
    ASSERT_GT(glyphs.size(), 20u);

    panel.setEnabled(false);
    const QImage image = PanelImage();
    EXPECT_TRUE(pixelsOf(image, 0x0000FF).empty());
    EXPECT_EQ(pixelsOf(image, kDisabledTextColor), glyphs) << "the grey caption is not where the caption was";
    std::set<std::pair<int, int>> copy;
    for (const auto& [x, y] : glyphs)
        if (!glyphs.count({x + 1, y + 1})) copy.insert({x + 1, y + 1});
    EXPECT_EQ(pixelsOf(image, clWhite), copy) << "the white copy is not one pixel down and right";
    const std::set<std::pair<int, int>> background = pixelsOf(image, 0x00C0FF);
    EXPECT_EQ(background.size() + glyphs.size() + copy.size(), size_t(inside.width() * inside.height()));
}

TEST_F(CanvasPanelTest, WhatRepaintsAndWhatDoesNot) {
    fw_test::PumpFor(20ms);
    fw_test::PaintCounter paints(&panel);
    panel.SetCaption("");
    panel.CaptionProp().SetcpLightEffect(true);
    fw_test::PumpFor(30ms);
    EXPECT_EQ(paints.count, 0);
    panel.SetCaption("New");
    EXPECT_EQ(paints.count, 0);  // at the next paint cycle
    EXPECT_TRUE(fw_test::PumpUntil([&] { return paints.count == 1; }, 2000ms));
    panel.SetPicture(QImage(4, 4, QImage::Format_RGB32));  // at once
    EXPECT_EQ(paints.count, 2);
}

TEST(CanvasPanelParentTest, HiddenParentPaintsNothing) {
    QWidget form;
    form.resize(200, 50);
    TCanvasPanelEx panel(&form);
    const QImage image = fw_test::Render(panel);
    EXPECT_EQ(PixelAt(image, 0, 0), kUnpainted);
    EXPECT_EQ(PixelAt(image, 90, 20), kUnpainted);
}

TEST_F(CanvasPanelTest, LeavingWithoutLightEffectRaisesLeaveOnce) {
    int enters = 0, leaves = 0;
    panel.OnMouseEnter = [&](QWidget*) { ++enters; };
    panel.OnMouseLeave = [&](QWidget*) { ++leaves; };
    Enter();
    EXPECT_TRUE(panel.Entered());
    EXPECT_TRUE(panel.CursorPollRunning());
    Mouse(QEvent::MouseMove, {12, 12});  // already entered: no second enter
    EXPECT_EQ(enters, 1);
    Leave();
    panel.CursorPollTick();
    fw_test::PumpFor(250ms);
    EXPECT_EQ(leaves, 1);
    EXPECT_FALSE(panel.Entered());
    EXPECT_FALSE(panel.CursorPollRunning());
}

TEST_F(CanvasPanelTest, CursorPollNoticesALeaveThePlatformMissed) {
    int leaves = 0;
    panel.OnMouseLeave = [&](QWidget*) { ++leaves; };
    Enter();
    panel.CursorPollTick();  // still inside: nothing
    EXPECT_EQ(leaves, 0);
    CursorTo({-30, 5});
    EXPECT_TRUE(fw_test::PumpUntil([&] { return leaves == 1; }, 2000ms));
}

TEST_F(CanvasPanelTest, DragModeHoldsTheLeaveUntilRelease) {
    int leaves = 0, downs = 0;
    panel.OnMouseLeave = [&](QWidget*) { ++leaves; };
    panel.OnMouseDown = [&](QWidget*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++downs; };
    panel.SetHitTest(htForm);
    Enter();
    Mouse(QEvent::MouseButtonPress, {10, 10});
    EXPECT_EQ(downs, 1);  // the panel's own (0, 0) event; the drag swallows the standard one
    CursorTo({-40, -40});
    panel.CursorPollTick();
    Leave();
    EXPECT_EQ(leaves, 0);
    Mouse(QEvent::MouseButtonRelease, {-40, -40});
    EXPECT_EQ(leaves, 1);
}

TEST_F(CanvasPanelTest, LightEffectBrightensThenDarkensAndLeavesAtTheEnd) {
    panel.LightEffect().SetleTimer(5);
    panel.LightEffect().SetleLuminance(60);
    panel.LightEffect().SetleStep(10);
    panel.LightEffect().SetleOn(true);
    panel.PanelMain().SetbmBkgndColor(0x404040);
    panel.repaint();  // the background the effect starts from
    const TColor normal = PixelAt(PanelImage(), 90, 20);
    int leaves = 0;
    panel.OnMouseLeave = [&](QWidget*) { ++leaves; };

    Enter();
    EXPECT_EQ(panel.EffectState(), TCanvasPanelEx::esBrightening);
    ASSERT_TRUE(fw_test::PumpUntil([&] { return !panel.LightTimerRunning(); }, 3000ms));
    EXPECT_EQ(panel.EffectAmount(), 60);
    const TColor bright = PixelAt(PanelImage(), 90, 20);
    EXPECT_GT(GetRValue(bright), GetRValue(normal) + 30);
    EXPECT_EQ(leaves, 0);

    Leave();
    EXPECT_EQ(panel.EffectState(), TCanvasPanelEx::esDarkening);
    EXPECT_EQ(leaves, 0);  // raised when the darkening ends
    ASSERT_TRUE(fw_test::PumpUntil([&] { return leaves == 1; }, 3000ms));
    EXPECT_EQ(panel.EffectAmount(), 0);
    fw_test::PumpFor(250ms);
    EXPECT_EQ(leaves, 1);
    EXPECT_EQ(PixelAt(PanelImage(), 90, 20), normal);  // back to the plain background
}

// The caption brightens with the background and, once the mouse has gone and the darkening is over, is
// back on the colour it started from, to the last bit: a light grey, colours the HLS scale cannot
// carry back exactly, and a hover left half way and taken up again.
TEST_F(CanvasPanelTest, CaptionRampEndsOnItsStartColour) {
    panel.LightEffect().SetleTimer(5);
    panel.LightEffect().SetleLuminance(60);
    panel.LightEffect().SetleStep(10);
    panel.LightEffect().SetleOn(true);
    panel.CaptionProp().SetcpLightEffect(true);
    panel.SetCaption("Go");
    struct Case {
        TColor start;
        bool interrupted;
    } cases[] = {{0xF0F0F0, false}, {0x1E90C8, false}, {0x2A7F3D, false}, {0x000080, false}, {0x1E90C8, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        panel.SetFontColor(c.start);
        Enter();
        if (c.interrupted) {
            ASSERT_TRUE(fw_test::PumpUntil([&] { return panel.EffectAmount() >= 30; }, 3000ms));
            Leave();
            ASSERT_TRUE(fw_test::PumpUntil([&] { return panel.EffectAmount() <= 10; }, 3000ms));
            Enter();
        }
        ASSERT_TRUE(fw_test::PumpUntil([&] { return !panel.LightTimerRunning(); }, 3000ms));
        EXPECT_EQ(panel.EffectAmount(), 60);
        EXPECT_NE(panel.FontColor(), c.start) << "the caption did not brighten";
        Leave();
        ASSERT_TRUE(fw_test::PumpUntil([&] { return !panel.LightTimerRunning() && panel.EffectAmount() == 0; }, 3000ms));
        EXPECT_EQ(panel.FontColor(), c.start);
    }
}

TEST_F(CanvasPanelTest, LightEffectPausesWhilePressedAndCaptionFollowsWithinTheScale) {
    panel.LightEffect().SetleTimer(1000);
    panel.LightEffect().SetleOn(true);
    panel.CaptionProp().SetcpLightEffect(true);
    panel.SetFontColor(0xF0F0F0);  // luminance 226: ten more would overshoot the scale
    Enter();
    Mouse(QEvent::MouseButtonPress, {10, 10});
    panel.LightTimerTick();
    EXPECT_EQ(panel.EffectAmount(), 0);  // nothing while pressed
    Mouse(QEvent::MouseButtonRelease, {10, 10});
    panel.LightTimerTick();
    panel.LightTimerTick();
    EXPECT_EQ(panel.EffectAmount(), 20);
    EXPECT_EQ(panel.FontColor(), clWhite);  // kept at the top of the scale, not wrapped to dark
}

}  // namespace
