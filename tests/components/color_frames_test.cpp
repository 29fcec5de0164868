// The coloured frames: outline polygons and window shapes, the rings of each bevel kind as painted,
// the hover, press and blink colours, the exclusion of the outer action and light effect, and the
// drag and click behaviour of HitTest with HitTestRgn.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "components/BevelBandPainter.h"
#include "components/ColorFrames.h"
#include "components/ColorUtils.h"
#include "components/ControlMessage.h"
#include "tests/components/render_helpers.h"
#include "tests/components/widget_test_app.h"

using namespace components;

namespace {

std::vector<QPoint> Points(const TOctagon& o) { return std::vector<QPoint>(o.begin(), o.end()); }

TEST(ColorFramesTest, OctagonsOfTheDefaultFrame) {
    const TRect client{0, 0, 185, 41};
    EXPECT_EQ(Points(OuterOctagon(client, 10)),
              (std::vector<QPoint>{{0, 30}, {0, 10}, {10, 0}, {175, 0}, {185, 10}, {185, 30}, {174, 41}, {11, 41}}));
    EXPECT_EQ(Points(InnerOctagon(client, 10, 12)),
              (std::vector<QPoint>{{12, 24}, {12, 16}, {16, 12}, {169, 12}, {173, 16}, {173, 24}, {168, 29}, {17, 29}}));
}

TEST(ColorFramesTest, WindowTakesTheOutlineOfEachShape) {
    TColorFrames frame;
    EXPECT_EQ(frame.size(), QSize(185, 41));
    struct Case {
        TBevelShape shape;
        QPoint inside, outside;
    };
    const Case cases[] = {
        {bsPolyButton, {92, 20}, {1, 1}},
        {bsPolyBevel, {92, 20}, {183, 39}},
        {bsRound, {92, 20}, {2, 2}},
        {bsRoundRect, {92, 20}, {0, 0}},
    };
    for (const Case& c : cases) {
        frame.BevelMain().SetbmShape(c.shape);
        EXPECT_TRUE(frame.mask().contains(c.inside)) << int(c.shape);
        EXPECT_FALSE(frame.mask().contains(c.outside)) << int(c.shape);
    }
    frame.BevelMain().SetbmShape(bsRect);
    EXPECT_TRUE(frame.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(frame.mask().contains(QPoint(184, 40)));
}

TEST(ColorFramesTest, FormAlignShapesTheParentAndFillsIt) {
    QWidget form;
    form.resize(300, 200);
    auto* frame = new TColorFrames(&form);
    frame->BevelMain().SetbmShape(bsPolyButton);
    frame->SetFormAlign(true);
    form.show();
    EXPECT_EQ(frame->geometry(), QRect(0, 0, 300, 200));
    EXPECT_TRUE(frame->mask().isEmpty());
    EXPECT_FALSE(form.mask().contains(QPoint(1, 1)));
    EXPECT_TRUE(form.mask().contains(QPoint(150, 100)));

    form.resize(400, 100);  // the parent follows every size change
    EXPECT_EQ(frame->size(), QSize(400, 100));
    EXPECT_TRUE(form.mask().contains(QPoint(390, 50)));
    EXPECT_FALSE(form.mask().contains(QPoint(399, 99)));
}

TEST(ColorFramesTest, ChildrenAreAlignedInsideTheBands) {
    TColorFrames frame;
    frame.BevelInnerSub().SetbpWidth(3);
    frame.BevelDistanceSub().SetbpWidth(2);
    frame.BevelMain().SetbmBorderLineWidth(1);
    EXPECT_EQ(frame.contentsMargins(), QMargins(18, 18, 18, 18));
}

// Colour of the ring i of a gradient band of n rings from a to b.
TColor Ring(int n, int i, TColor a, TColor b) { return ColorAtStep(n, i + 1, a, b); }

TEST(ColorFramesTest, DefaultFrameRampsFromGreyTowardWhiteOnASilverFace) {
    TColorFrames frame;
    const QImage image = fw_test::Render(frame);
    for (int i : {0, 5, 11}) {
        EXPECT_EQ(fw_test::PixelAt(image, i, 20), Ring(12, i, clGray, clWhite)) << i;        // left
        EXPECT_EQ(fw_test::PixelAt(image, 184 - i, 20), Ring(12, i, clGray, clWhite)) << i;  // right
    }
    EXPECT_EQ(fw_test::PixelAt(image, 12, 20), clSilver);
    EXPECT_EQ(fw_test::PixelAt(image, 92, 20), clSilver);
}

TEST(ColorFramesTest, RingsOfEachFillKind) {
    struct Case {
        const char* name;
        TBevelFill outerFill;
        int outerWidth;
        TBevelFill distanceFill;
        int distanceWidth;
        std::vector<TColor> leftColumns;  // x = 0, 1, ... at mid height
    };
    const TColor r = clRed, s = clSilver;
    const Case cases[] = {
        {"raised", bfNone, 3, bfNone, 0, {clWhite, clWhite, clWhite, s}},
        {"symmetric 5",
         bfSymm,
         5,
         bfNone,
         0,
         {Ring(3, 0, clGray, clWhite), Ring(3, 1, clGray, clWhite), Ring(3, 2, clGray, clWhite),
          Ring(2, 0, clWhite, clGray), Ring(2, 1, clWhite, clGray), s}},
        {"distance 4 flat", bfNone, 2, bfNone, 4, {clWhite, clWhite, r, r, r, s}},
        {"no outer bevel", bfNone, 0, bfNone, 0, {s, s}},
    };
    for (const Case& c : cases) {
        TColorFrames frame;
        frame.BevelOuterSub().SetbpFill(c.outerFill);
        frame.BevelOuterSub().SetbpWidth(c.outerWidth);
        frame.BevelDistanceSub().SetbpColor1(clRed);
        frame.BevelDistanceSub().SetbpFill(c.distanceFill);
        frame.BevelDistanceSub().SetbpWidth(c.distanceWidth);
        const QImage image = fw_test::Render(frame);
        for (size_t x = 0; x < c.leftColumns.size(); ++x)
            EXPECT_EQ(fw_test::PixelAt(image, int(x), 20), c.leftColumns[x]) << c.name << " x " << x;
    }
    // A flat outer bevel looks raised (white upper left, grey lower right), a flat inner one sunken.
    TColorFrames frame;
    frame.BevelOuterSub().SetbpFill(bfNone);
    frame.BevelOuterSub().SetbpWidth(1);
    frame.BevelInnerSub().SetbpWidth(1);
    const QImage image = fw_test::Render(frame);
    EXPECT_EQ(fw_test::PixelAt(image, 0, 20), clWhite);
    EXPECT_EQ(fw_test::PixelAt(image, 184, 20), clGray);
    EXPECT_EQ(fw_test::PixelAt(image, 1, 20), clGray);
    EXPECT_EQ(fw_test::PixelAt(image, 183, 20), clWhite);
}

TEST(ColorFramesTest, PolygonRingsContinueAcrossBandsAndEmptyBandsCountNothing) {
    QImage image(60, 30, QImage::Format_RGB32);
    QPainter painter(&image);
    TCanvas canvas(painter);
    TBevelBandPainter band(canvas, {0, 0, 60, 30}, bsPolyButton, 5);
    band.Band(clGray, clWhite, 0, true);
    EXPECT_EQ(band.RingCounter(), 0);
    band.Band(clGray, clWhite, 3, true);
    band.Band(clRed, clRed, 2, false);
    EXPECT_EQ(band.RingCounter(), 5);
    EXPECT_EQ(band.WorkingRect(), (TRect{0, 0, 60, 30}));  // polygon rings leave the rectangle alone
    painter.end();
    // Rings 3 and 4 are the red band: the left edges of the 4th and 5th rings.
    EXPECT_EQ(fw_test::PixelAt(image, 3, 15), clRed);
    EXPECT_EQ(fw_test::PixelAt(image, 4, 15), clRed);
    EXPECT_NE(fw_test::PixelAt(image, 2, 15), clRed);
}

QMouseEvent Mouse(QEvent::Type type, QPoint local, QPoint global, Qt::MouseButtons buttons) {
    return QMouseEvent(type, QPointF(local), QPointF(global), Qt::LeftButton, buttons, Qt::NoModifier);
}

void Press(QWidget& w, QPoint p) {
    QMouseEvent e = Mouse(QEvent::MouseButtonPress, p, w.mapToGlobal(p), Qt::LeftButton);
    QApplication::sendEvent(&w, &e);
}

void Release(QWidget& w, QPoint p) {
    QMouseEvent e = Mouse(QEvent::MouseButtonRelease, p, w.mapToGlobal(p), Qt::NoButton);
    QApplication::sendEvent(&w, &e);
}

TEST(ColorFramesTest, PressUsesClickColoursExceptOnThePolygonBevel) {
    TColorFrames frame;
    frame.BevelOuterClick().SetbcOn(true);
    frame.BevelOuterClick().SetbcColor1(clRed);
    frame.BevelOuterClick().SetbcColor2(clBlue);
    Press(frame, {92, 20});
    EXPECT_EQ(frame.Working().outer1, clRed);
    EXPECT_EQ(frame.Working().outer2, clBlue);
    Release(frame, {92, 20});  // still over the frame: the hover colours, here the normal ones
    EXPECT_EQ(frame.Working().outer1, clGray);
    EXPECT_EQ(frame.Working().outer2, clWhite);

    frame.BevelMain().SetbmShape(bsPolyBevel);
    Press(frame, {92, 20});
    EXPECT_EQ(frame.Working().outer1, clGray);
    Release(frame, {92, 20});
}

TEST(ColorFramesTest, OuterActionAndOuterLightEffectExcludeEachOther) {
    TColorFrames frame;
    frame.BevelOuterLightEffect().SetleOn(true);
    frame.BevelOuterAction().SetacOn(true);
    EXPECT_FALSE(frame.BevelOuterLightEffect().leOn());
    frame.BevelOuterLightEffect().SetleOn(true);
    EXPECT_FALSE(frame.BevelOuterAction().acOn());
}

TEST(ColorFramesTest, HoverTakesTheActionColoursAndLeavingOutsideGivesThemBack) {
    TColorFrames frame;
    frame.move(100, 100);
    frame.show();
    int enters = 0, mouseEnters = 0, leaves = 0;
    frame.OnEnter = [&](QWidget*) { ++enters; };
    frame.OnMouseEnter = [&](QWidget*) { ++mouseEnters; };
    frame.OnMouseLeave = [&](QWidget*) { ++leaves; };

    // No hover effect: only the events.
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(105, 105));
    QApplication::sendEvent(&frame, &enter);
    EXPECT_EQ(frame.Working().outer1, clGray);
    EXPECT_FALSE(frame.Hovered());

    frame.BevelOuterAction().SetacOn(true);
    frame.BevelOuterAction().SetacColor1(clRed);
    frame.BevelOuterAction().SetacColor2(clYellow);
    QApplication::sendEvent(&frame, &enter);
    EXPECT_TRUE(frame.Hovered());
    EXPECT_EQ(frame.Working().outer1, clRed);
    EXPECT_EQ(frame.Working().outer2, clYellow);

    QCursor::setPos(frame.mapToGlobal(QPoint(400, 300)));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&frame, &leave);
    EXPECT_FALSE(frame.Hovered());
    EXPECT_EQ(frame.Working().outer1, clGray);
    EXPECT_EQ(frame.Working().outer2, clWhite);
    EXPECT_EQ(enters, 2);
    EXPECT_EQ(mouseEnters, 2);
    EXPECT_EQ(leaves, 1);
}

TEST(ColorFramesTest, BlinkOnPhaseShowsTheActionColoursEvenWithoutHover) {
    TColorFrames frame;
    fw_test::Render(frame);  // the first paint takes the normal colours
    frame.BevelOuterAction().SetacColor1(clRed);
    frame.BevelOuterAction().SetacColor2(clBlue);
    ASSERT_TRUE(SendControlMessage(&frame, wmBlinkState, 1, 0));
    EXPECT_EQ(frame.Working().outer1, clRed);
    EXPECT_EQ(fw_test::PixelAt(fw_test::Render(frame), 0, 20), Ring(12, 0, clRed, clBlue));
    SendControlMessage(&frame, wmBlinkState, 0, 0);
    EXPECT_EQ(frame.Working().outer1, clGray);

    SendControlMessage(&frame, wmLightEffect, clYellow, 1);
    EXPECT_EQ(frame.Working().outer2, clYellow);
    SendControlMessage(&frame, wmLightEffect, clNavy, 2);
    EXPECT_EQ(frame.Working().background, clNavy);
}

TEST(ColorFramesTest, InnerPressIsAClickWhenHitTestRgnIsOff) {
    QWidget form;
    form.setGeometry(200, 200, 300, 100);
    auto* frame = new TColorFrames(&form);
    frame->SetHitTest(htParent);
    frame->SetHitTestRgn(false);
    form.show();
    int clicks = 0, downs = 0;
    frame->OnClick = [&](QWidget*) { ++clicks; };
    frame->OnMouseDown = [&](QWidget*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++downs; };
    const QPoint before = form.pos();

    Press(*frame, {92, 20});  // inner area
    QMouseEvent move = Mouse(QEvent::MouseMove, {120, 30}, frame->mapToGlobal(QPoint(120, 30)), Qt::LeftButton);
    QApplication::sendEvent(frame, &move);
    Release(*frame, {120, 30});
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(form.pos(), before);

    const QPoint bevel(3, 20);  // on the outer bevel: the parent moves with the mouse
    const QPoint global = frame->mapToGlobal(bevel);
    Press(*frame, bevel);
    QMouseEvent drag(QEvent::MouseMove, QPointF(bevel), QPointF(global + QPoint(30, 10)), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &drag);
    Release(*frame, bevel);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(downs, 2);
    EXPECT_EQ(form.pos(), before + QPoint(30, 10));
}

}  // namespace
