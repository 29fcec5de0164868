// The colour button: its outline for every shape (the window's shape and the hit test), the band and
// caption as painted, the colours by state (normal, mouse over, pressed, latched by locking), the
// double click, the owner's press-reaction switch, and the animation messages.
#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "components/BevelBandPainter.h"
#include "components/ColorButton.h"
#include "components/ColorUtils.h"
#include "components/ControlMessage.h"
#include "components/VariableOutline.h"
#include "tests/components/render_helpers.h"
#include "tests/components/widget_test_app.h"

using namespace components;
using fw_test::PixelAt;

namespace {

void Enter(QWidget& w) {
    QEnterEvent e(QPointF(30, 12), QPointF(30, 12), w.mapToGlobal(QPointF(30, 12)));
    QApplication::sendEvent(&w, &e);
}

void Leave(QWidget& w) {
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(&w, &e);
}

void SendMouse(QWidget& w, QEvent::Type type, QPoint p, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(p), w.mapToGlobal(QPointF(p)), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

void Press(QWidget& w, QPoint p = {37, 12}) { SendMouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton); }
void Release(QWidget& w, QPoint p = {37, 12}) { SendMouse(w, QEvent::MouseButtonRelease, p, Qt::NoButton); }
void DoubleClick(QWidget& w, QPoint p = {37, 12}) {
    SendMouse(w, QEvent::MouseButtonDblClick, p, Qt::LeftButton);
}

TEST(ColorButtonTest, VariableOutlineOfMixedSides) {
    TVariableShape shape;
    shape.left = {fdTriangle, fdConvex, fdClosed};
    shape.right = {fdDiagonal, fdConcave, fdClosed};
    shape.edge = 10;
    shape.halfHeight = 12;
    EXPECT_EQ(VariableOutline({0, 0, 75, 24}, shape),
              (std::vector<QPoint>{{10, 24}, {0, 12}, {10, 0}, {65, 0}, {75, 24}}));
}

TEST(ColorButtonTest, WindowTakesTheOutlineOfEachShape) {
    TColorButton button;
    EXPECT_EQ(button.size(), QSize(75, 24));
    struct Case {
        const char* name;
        TBevelShape shape;
        TColorButtonSideForm leftForm, rightForm;
        TColorButtonSideStyle leftStyle, rightStyle;
        std::vector<QPoint> inside, outside;
    };
    const Case cases[] = {
        {"rect", bsRect, fdRect, fdRect, fdConvex, fdConvex, {{0, 0}, {74, 23}}, {{75, 12}}},
        {"octagon", bsPolyButton, fdRect, fdRect, fdConvex, fdConvex, {{37, 12}, {0, 12}}, {{1, 1}, {73, 22}}},
        {"round", bsRound, fdRect, fdRect, fdConvex, fdConvex, {{37, 12}}, {{2, 2}, {72, 21}}},
        {"round rect", bsRoundRect, fdRect, fdRect, fdConvex, fdConvex, {{37, 12}}, {{0, 0}, {74, 23}}},
        {"arrow ends", bsVariable, fdTriangle, fdTriangle, fdConvex, fdConvex, {{1, 12}, {73, 12}},
         {{1, 1}, {73, 22}}},
        {"notched ends", bsVariable, fdTriangle, fdTriangle, fdConcave, fdConcave, {{1, 1}, {37, 12}},
         {{2, 12}, {72, 12}}},
        {"slanted", bsVariable, fdDiagonal, fdDiagonal, fdConvex, fdConcave, {{1, 1}, {37, 12}},
         {{1, 22}, {73, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        button.ButtonMain().SetbmShape(c.shape);
        button.ButtonSub().SetbpLeftForm(c.leftForm);
        button.ButtonSub().SetbpRightForm(c.rightForm);
        button.ButtonSub().SetbpLeftStyle(c.leftStyle);
        button.ButtonSub().SetbpRightStyle(c.rightStyle);
        EXPECT_EQ(button.mask(), button.OutlineRegion());
        for (QPoint p : c.inside) EXPECT_TRUE(button.mask().contains(p)) << p.x() << "," << p.y();
        for (QPoint p : c.outside) EXPECT_FALSE(button.mask().contains(p)) << p.x() << "," << p.y();
    }
    button.ButtonMain().SetbmShape(bsPolyBevel);  // the button has no polygon bevel
    EXPECT_EQ(button.ButtonMain().bmShape(), bsPolyButton);
    button.show();
    button.resize(120, 40);  // the shape follows the size
    EXPECT_TRUE(button.mask().contains(QPoint(60, 20)));
    EXPECT_FALSE(button.mask().contains(QPoint(1, 1)));
    EXPECT_TRUE(button.mask().contains(QPoint(119, 20)));
}

TEST(ColorButtonTest, PressesOutsideTheOutlineMissTheButton) {
    QWidget parent;
    parent.resize(200, 100);
    auto* button = new TColorButton(&parent);
    button->move(50, 30);
    button->ButtonMain().SetbmShape(bsRound);
    parent.show();
    EXPECT_EQ(parent.childAt(QPoint(87, 42)), button);   // the centre
    EXPECT_EQ(parent.childAt(QPoint(51, 31)), nullptr);  // a corner outside the ellipse
    EXPECT_EQ(parent.childAt(QPoint(123, 52)), nullptr);
}

TEST(ColorButtonTest, DefaultButtonIsRaisedOnASilverFace) {
    TColorButton button;
    const QImage image = fw_test::Render(button);
    EXPECT_EQ(PixelAt(image, 0, 12), clWhite);   // left
    EXPECT_EQ(PixelAt(image, 37, 0), clWhite);   // top
    EXPECT_EQ(PixelAt(image, 74, 12), clGray);   // right
    EXPECT_EQ(PixelAt(image, 37, 23), clGray);   // bottom
    EXPECT_EQ(PixelAt(image, 1, 12), clSilver);  // one ring only
    EXPECT_EQ(PixelAt(image, 37, 12), clSilver);
}

TEST(ColorButtonTest, BorderLineComesBeforeTheBand) {
    TColorButton button;
    button.ButtonMain().SetbmBorderLineWidth(2);
    button.ButtonMain().SetbmBorderLineColor(clRed);
    const QImage image = fw_test::Render(button);
    EXPECT_EQ(PixelAt(image, 0, 12), clRed);
    EXPECT_EQ(PixelAt(image, 1, 12), clRed);
    EXPECT_EQ(PixelAt(image, 2, 12), clWhite);
    EXPECT_EQ(PixelAt(image, 72, 12), clGray);
    EXPECT_EQ(PixelAt(image, 74, 12), clRed);
}

// The about box's OK button: straight sides, a gradient band of three rings.
TEST(ColorButtonTest, OpenStraightSidesDrawOnlyTopAndBottomLines) {
    struct Case {
        TColorButtonSideColor sides;
        TColor leftEdge;          // x = 0 at mid height
        std::vector<int> across;  // columns every ring's top and bottom lines reach
    };
    const TColor ring0 = ColorAtStep(3, 1, clGray, clWhite);
    for (const Case& c : {Case{fdOpen, clSilver, {0, 37, 74}}, Case{fdClosed, ring0, {2, 37, 72}}}) {
        SCOPED_TRACE(int(c.sides));
        TColorButton button;
        button.ButtonMain().SetbmShape(bsVariable);
        button.ButtonSub().SetbpFill(true);
        button.ButtonSub().SetbpWidth(3);
        button.ButtonSub().SetbpLeftSide(c.sides);
        button.ButtonSub().SetbpRightSide(c.sides);
        const QImage image = fw_test::Render(button);
        for (int k = 0; k < 3; ++k) {
            const TColor ring = ColorAtStep(3, k + 1, clGray, clWhite);
            for (int x : c.across) {
                EXPECT_EQ(PixelAt(image, x, k), ring) << "top ring " << k << " x " << x;
                EXPECT_EQ(PixelAt(image, x, 23 - k), ring) << "bottom ring " << k << " x " << x;
            }
        }
        EXPECT_EQ(PixelAt(image, 0, 12), c.leftEdge);
        EXPECT_EQ(PixelAt(image, 37, 12), clSilver);
    }
}

TEST(ColorButtonTest, CaptionIsCentredInItsColour) {
    TColorButton button;
    button.CaptionSub().SetcaColor(clNavy);
    button.SetCaption(QStringLiteral("WWW"));
    const QImage image = fw_test::Render(button);
    int left = 75, right = -1;
    for (int x = 0; x < 75; ++x)
        for (int y = 2; y < 22; ++y)
            if (PixelAt(image, x, y) != clSilver && x > 0 && x < 74) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_LE(left, right);
    EXPECT_NEAR((left + right) / 2.0, 37, 2.0);
    button.CaptionSub().SetcaColor(clRed);  // a new colour shows at once in the normal look
    EXPECT_EQ(button.Working().caption, clRed);
}

// Colours of the top-left ring pixel (face 2 without gradient) and the caption, state by state.
TEST(ColorButtonTest, ColoursByState) {
    TColorButton button;
    button.ButtonAction().SetacOn(true);
    button.ButtonAction().SetacColor1(clNavy);
    button.ButtonAction().SetacColor2(clYellow);
    button.ButtonSub().SetbpDownColor1(clRed);
    button.ButtonSub().SetbpDownColor2(clBlue);
    button.CaptionSub().SetcaActionColor(clGreen);
    button.CaptionSub().SetcaClickColor(clMaroon);
    auto topLeft = [&] { return PixelAt(fw_test::Render(button), 5, 0); };

    EXPECT_EQ(topLeft(), clWhite);  // normal
    Enter(button);
    EXPECT_TRUE(button.Hovered());
    EXPECT_EQ(topLeft(), clYellow);
    EXPECT_EQ(button.Working().face1, clNavy);
    EXPECT_EQ(button.Working().caption, clGreen);
    Press(button);
    EXPECT_EQ(topLeft(), clBlue);  // pressed: sunken in the down colours
    EXPECT_EQ(button.Working().caption, clMaroon);
    Release(button);
    EXPECT_FALSE(button.ButtonSub().bpDown());  // an ordinary button never latches
    EXPECT_EQ(topLeft(), clYellow);
    Leave(button);
    EXPECT_EQ(topLeft(), clWhite);
    EXPECT_EQ(button.Working().caption, clBlack);
}

TEST(ColorButtonTest, LockButtonTogglesAtEachPress) {
    TColorButton button;
    button.ButtonSub().SetbpDownColor2(clBlue);
    button.ButtonSub().SetbpLock(true);
    int clicks = 0;
    button.OnClick = [&](QWidget*) { ++clicks; };
    auto topLeft = [&] { return PixelAt(fw_test::Render(button), 5, 0); };

    Enter(button);
    Press(button);
    Release(button);
    EXPECT_TRUE(button.ButtonSub().bpDown());
    Leave(button);
    EXPECT_EQ(topLeft(), clBlue);  // latched down, also with the pointer gone
    Enter(button);
    Press(button);
    Release(button);
    EXPECT_FALSE(button.ButtonSub().bpDown());
    EXPECT_EQ(topLeft(), clWhite);
    EXPECT_EQ(clicks, 2);

    Press(button);
    Release(button);
    ASSERT_TRUE(button.ButtonSub().bpDown());
    button.ButtonSub().SetbpLock(false);  // unlocking releases the button
    EXPECT_FALSE(button.ButtonSub().bpDown());
    EXPECT_EQ(topLeft(), clWhite);
}

TEST(ColorButtonTest, DoubleClickClicksTwiceAndTogglesOnce) {
    TColorButton button;
    button.ButtonSub().SetbpLock(true);
    int clicks = 0, downs = 0;
    button.OnClick = [&](QWidget*) { ++clicks; };
    button.OnMouseDown = [&](QWidget*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++downs; };
    Press(button);
    Release(button);
    DoubleClick(button);
    Release(button);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(downs, 3);
    EXPECT_TRUE(button.ButtonSub().bpDown());
}

// The double click's presses arm a drag from where the pointer is, not from the button's corner: a
// move that follows without the pointer moving leaves the parent where it was.
TEST(ColorButtonTest, DoubleClickWithADragModeDragsFromThePointer) {
    QWidget form;
    form.resize(300, 200);
    QWidget holder(&form);
    holder.setGeometry(20, 20, 200, 150);
    TColorButton button(&holder);
    button.move(10, 10);
    form.show();
    button.SetHitTest(htParent);
    const QPoint start = holder.pos();
    Press(button);
    Release(button);
    DoubleClick(button);
    SendMouse(button, QEvent::MouseMove, {37, 12}, Qt::LeftButton);
    EXPECT_EQ(holder.pos(), start);
    SendMouse(button, QEvent::MouseMove, {47, 15}, Qt::LeftButton);
    EXPECT_EQ(holder.pos(), start + QPoint(10, 3));
    Release(button, {47, 15});
}

TEST(ColorButtonTest, CaptionTakesTheActionColourAfterAReleaseEvenWithoutCaOn) {
    TColorButton button;
    button.CaptionSub().SetcaActionColor(clGreen);
    Enter(button);
    EXPECT_EQ(button.Working().caption, clBlack);  // caOn is off
    Press(button);
    Release(button);
    EXPECT_EQ(button.Working().caption, clGreen);
    button.CaptionSub().SetcaOn(true);
    Leave(button);
    Enter(button);
    EXPECT_EQ(button.Working().caption, clGreen);
}

TEST(ColorButtonTest, DisabledButtonKeepsItsColoursOnEntry) {
    TColorButton button;
    button.ButtonAction().SetacOn(true);
    button.ButtonAction().SetacColor2(clYellow);
    int enters = 0;
    button.OnMouseEnter = [&](QWidget*) { ++enters; };
    button.setEnabled(false);
    Enter(button);
    EXPECT_FALSE(button.Hovered());
    EXPECT_EQ(button.Working().face2, clWhite);
    Leave(button);
    EXPECT_EQ(enters, 0);
}

TEST(ColorButtonTest, WithoutPressReactionPressesOnlyRaiseTheirEvents) {
    TColorButton button;
    button.ButtonSub().SetbpLock(true);
    button.SetPressReaction(false);
    int downs = 0, clicks = 0;
    button.OnMouseDown = [&](QWidget*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { ++downs; };
    button.OnClick = [&](QWidget*) { ++clicks; };
    Press(button);
    EXPECT_FALSE(button.ButtonPressed());
    EXPECT_FALSE(button.ButtonSub().bpDown());
    EXPECT_EQ(button.Working().face2, clWhite);
    Release(button);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(clicks, 1);
}

TEST(ColorButtonTest, ActionAndLightEffectExcludeEachOther) {
    TColorButton button;
    button.ButtonLightEffect().SetleOn(true);
    button.ButtonAction().SetacOn(true);
    EXPECT_FALSE(button.ButtonLightEffect().leOn());
    button.ButtonLightEffect().SetleOn(true);
    EXPECT_FALSE(button.ButtonAction().acOn());
}

TEST(ColorButtonTest, AnimationMessagesRepaintFaceAndCaption) {
    TColorButton button;
    button.ButtonAction().SetacColor1(clNavy);
    button.ButtonAction().SetacColor2(clYellow);
    button.CaptionSub().SetcaActionColor(clGreen);

    fw_test::Render(button);  // the first paint loads the normal colours
    SendControlMessage(&button, wmBlinkState, 1, 0);  // the on phase takes the action colours, acOn or not
    EXPECT_EQ(PixelAt(fw_test::Render(button), 5, 0), clYellow);
    EXPECT_EQ(button.Working().caption, clGreen);
    SendControlMessage(&button, wmBlinkState, 0, 0);
    EXPECT_EQ(PixelAt(fw_test::Render(button), 5, 0), clWhite);

    SendControlMessage(&button, wmLightEffect, intptr_t(clRed), 1);
    EXPECT_EQ(PixelAt(fw_test::Render(button), 5, 0), clRed);
    SendControlMessage(&button, wmLightEffect, intptr_t(clBlue), 2);
    EXPECT_EQ(button.Working().caption, clBlue);
    EXPECT_EQ(button.Working().face2, clRed);
}

TEST(ColorButtonTest, HoverWithFaceLightEffectRampsUpAndBackDown) {
    TColorButton button;
    button.ButtonSub().SetbpColor2(0x404040);
    button.ButtonLightEffect().SetleOn(true);
    button.ButtonLightEffect().SetleTimer(1);
    Enter(button);
    ASSERT_TRUE(button.ButtonLightEffect().HasTimer());
    while (button.ButtonLightEffect().HasTimer()) button.ButtonLightEffect().TimerTick();
    const int raised = RGBToHLS(0x404040).Lum + 60;
    EXPECT_EQ(RGBToHLS(button.Working().face2).Lum, raised);
    Leave(button);
    while (button.ButtonLightEffect().HasTimer()) button.ButtonLightEffect().TimerTick();
    EXPECT_EQ(button.Working().face2, HLSToRGB(RGBToHLS(0x404040)));
}

TEST(ColorButtonBandTest, VariableRingsGoThroughTheHookAndCountLikePolygonRings) {
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    TCanvas canvas(painter);
    TBevelBandPainter band(canvas, {0, 0, 40, 20}, bsVariable, 4);
    std::vector<int> rings;
    band.SetVariableRingHook([&](TCanvas&, const TBandRing& ring) { rings.push_back(ring.k); });
    band.Band(clRed, clRed, 2, false, true);
    band.Band(clGray, clWhite, 3, true);
    EXPECT_EQ(rings, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(band.RingCounter(), 5);
    EXPECT_EQ(band.WorkingRect(), (TRect{0, 0, 40, 20}));
}

TEST(ColorButtonBandTest, RoundRectRingsKeepTheBrushWhenAsked) {
    for (bool keep : {false, true}) {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        TCanvas canvas(painter);
        canvas.SetBrush(clSilver);
        TBevelBandPainter band(canvas, {0, 0, 40, 20}, bsRoundRect, 6);
        band.SetRoundRectRingsKeepBrush(keep);
        band.Band(clWhite, clGray, 2, false);
        painter.end();
        EXPECT_EQ(PixelAt(image, 20, 10), keep ? clSilver : clBlack) << keep;
    }
}

}  // namespace
