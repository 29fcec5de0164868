#include "components/ColorButton.h"

#include <QMouseEvent>
#include <QPainter>

#include "components/BevelBandPainter.h"
#include "components/BevelOutline.h"
#include "components/Canvas.h"
#include "components/ColorUtils.h"
#include "components/ShapeRegion.h"

namespace components {

namespace {

constexpr int kRampFace = 1;
constexpr int kRampCaption = 2;
constexpr int kDefaultEdge = 10;
constexpr int kDefaultBandWidth = 1;
constexpr int kDefaultBlinkIntervalMs = 500;

}  // namespace

TColorButton::TColorButton(QWidget* parent) : TBevelControl(parent) {
    resize(kDefaultWidth, kDefaultHeight);
    buttonMain_.SetbmBkgndColor(clSilver);
    buttonMain_.SetbmEdge(kDefaultEdge);
    buttonSub_.SetbpColor1(clGray);
    buttonSub_.SetbpColor2(clWhite);
    buttonSub_.SetbpWidth(kDefaultBandWidth);
    buttonSub_.SetbpDownColor1(clWhite);
    buttonSub_.SetbpDownColor2(clGray);
    buttonAction_.SetacColor2(clWhite);
    buttonBlinking_.SetblInterval(kDefaultBlinkIntervalMs);
    InitLightEffect(buttonLightEffect_, kRampFace);
    InitLightEffect(captionLightEffect_, kRampCaption);

    buttonMain_.OnChange = [this] { MainChanged(); };
    buttonSub_.OnChange = [this] { SubChanged(); };
    captionSub_.OnChange = [this] { CaptionChanged(); };
    MakeExclusive(buttonAction_, buttonLightEffect_);
    WatchBlinking(buttonBlinking_, [this] { LoadNormalFaceColors(); });

    LoadNormalFaceColors();
    work_.caption = captionSub_.caColor();
    UpdateWindowRegion();
}

// The timers of the animation drivers go with the sub-objects, before the window.
TColorButton::~TColorButton() = default;

void TColorButton::SetCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    update();
}

QRegion TColorButton::OutlineRegion() const {
    const TRect client = TRect::FromQRect(rect());
    const TBevelShape shape = buttonMain_.bmShape();
    const int edge = buttonMain_.bmEdge();
    if (shape != bsVariable) return BevelShapeRegion(client, shape, edge, OuterOctagon(client, edge));
    const TVariableShape variable{buttonSub_.LeftSide(), buttonSub_.RightSide(), edge, height() / 2,
                                  buttonSub_.bpWidth()};
    return PolygonRegion(VariableOutline(client, variable), true);
}

void TColorButton::UpdateWindowRegion() { setMask(OutlineRegion()); }

void TColorButton::resizeEvent(QResizeEvent* event) {
    TBevelControl::resizeEvent(event);
    UpdateWindowRegion();
}

// The button has no polygon bevel: that shape means its octagon.
void TColorButton::MainChanged() {
    if (buttonMain_.bmShape() == bsPolyBevel) {
        buttonMain_.SetbmShape(bsPolyButton);  // notifies again, and that call does the work
        return;
    }
    UpdateWindowRegion();
    update();
}

// Under the pointer a button that is not down shows its hover face, also right after unlocking.
void TColorButton::SubChanged() {
    if (buttonSub_.bpDown())
        LoadDownColors();
    else if (!hover_)
        LoadNormalFaceColors();
    else if (!pressed_)
        LoadHoverFaceColors();
    UpdateWindowRegion();  // the side forms shape the variable outline
    update();
}

// A new caption colour shows at once while the caption has its normal look; hover, press and lock keep
// theirs until they end.
void TColorButton::CaptionChanged() {
    if (!hover_ && !pressed_ && !buttonSub_.bpDown()) work_.caption = captionSub_.caColor();
    update();
}

void TColorButton::LoadNormalFaceColors() {
    work_.face1 = buttonSub_.bpColor1();
    work_.face2 = buttonSub_.bpColor2();
}

void TColorButton::LoadDownColors() {
    work_.face1 = buttonSub_.bpDownColor1();
    work_.face2 = buttonSub_.bpDownColor2();
    work_.caption = captionSub_.caClickColor();
}

void TColorButton::LoadActionColors() {
    work_.face1 = buttonAction_.acColor1();
    work_.face2 = buttonAction_.acColor2();
    work_.caption = captionSub_.caActionColor();
}

void TColorButton::LoadHoverColors() {
    LoadHoverFaceColors();
    work_.caption = captionLightEffect_.leOn()
                        ? RaiseLuminance(captionSub_.caColor(), captionLightEffect_.leLuminance())
                        : captionSub_.caActionColor();
}

void TColorButton::LoadHoverFaceColors() {
    LoadNormalFaceColors();
    if (buttonLightEffect_.leOn())
        work_.face2 = RaiseLuminance(buttonSub_.bpColor2(), buttonLightEffect_.leLuminance());
    if (buttonAction_.acOn()) {
        work_.face1 = buttonAction_.acColor1();
        work_.face2 = buttonAction_.acColor2();
    }
}

void TColorButton::StopLightEffects() {
    if (buttonLightEffect_.leOn()) buttonLightEffect_.Stop();
    if (captionLightEffect_.leOn()) captionLightEffect_.Stop();
}

// The parent learns of the pointer through the toolkit's own enter and leave events (it is not left
// when the pointer moves onto the button), also while the button is disabled.
void TColorButton::CMMouseEnter() {
    if (!isEnabled()) return;
    hover_ = true;
    if (!buttonSub_.bpDown() && !pressed_) {
        if (captionLightEffect_.leOn())
            RestartLightEffect(captionLightEffect_, work_.caption, captionSub_.caColor(), true, kRampCaption);
        else if (captionSub_.caOn())
            work_.caption = captionSub_.caActionColor();

        if (buttonLightEffect_.leOn()) {
            RestartLightEffect(buttonLightEffect_, work_.face2, buttonSub_.bpColor2(), true, kRampFace);
        } else {
            if (buttonBlinking_.blOn()) {
                blinkWasOn_ = true;
                buttonBlinking_.SetblOn(false);  // its last message restores the normal face colours
            }
            if (buttonAction_.acOn()) LoadActionColors();
        }
    } else if (pressed_) {
        LoadDownColors();
    } else if (buttonAction_.acOn()) {
        LoadDownColors();  // latched down
    }
    TBevelControl::CMMouseEnter();
    repaint();
}

void TColorButton::CMMouseLeave() {
    if (!isEnabled()) return;
    const bool down = buttonSub_.bpDown();
    if (captionLightEffect_.leOn() && !down && !pressed_)
        RestartLightEffect(captionLightEffect_, work_.caption, captionSub_.caColor(), false, kRampCaption);
    else
        work_.caption = captionSub_.caColor();

    if (down) {
        LoadDownColors();
    } else if (pressed_) {
        LoadNormalFaceColors();
    } else {
        if (blinkWasOn_) {
            blinkWasOn_ = false;
            buttonBlinking_.SetblOn(true);
        }
        if (buttonLightEffect_.leOn())
            RestartLightEffect(buttonLightEffect_, work_.face2, buttonSub_.bpColor2(), false, kRampFace);
        else
            LoadNormalFaceColors();
    }
    hover_ = false;
    TBevelControl::CMMouseLeave();
    repaint();
}

void TColorButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && pressReaction_) {
        pressed_ = true;
        hover_ = true;
        StopLightEffects();
        // A lock button toggles; an ordinary button is never latched.
        buttonSub_.SetbpDown(buttonSub_.bpLock() && !buttonSub_.bpDown());
        LoadDownColors();
        repaint();
    }
    TBevelControl::mousePressEvent(event);
}

void TColorButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && pressReaction_) {
        pressed_ = false;
        StopLightEffects();
        if (buttonSub_.bpDown())
            LoadDownColors();
        else if (hover_)
            LoadHoverColors();
        else
            LoadNormalFaceColors();
        repaint();
    }
    TBevelControl::mouseReleaseEvent(event);
}

// A double click counts as two more presses at (0, 0); the release that follows completes a click, so
// a lock button ends toggled once and OnClick comes after each release. The pointer stays where it is:
// a drag armed by these presses starts from there.
void TColorButton::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        TBevelControl::mouseDoubleClickEvent(event);
        return;
    }
    for (int press = 0; press < 2; ++press) {
        QMouseEvent again(QEvent::MouseButtonPress, QPointF(0, 0), event->globalPosition(), Qt::LeftButton,
                          event->buttons(), event->modifiers());
        mousePressEvent(&again);
    }
}

void TColorButton::WMLightEffect(TColor color, int effectId) {
    if (effectId == kRampFace)
        work_.face2 = color;
    else if (effectId == kRampCaption)
        work_.caption = color;
    repaint();
}

void TColorButton::WMBlinkState(bool on) {
    if (on)
        LoadActionColors();
    else
        LoadNormalFaceColors();
    repaint();
}

void TColorButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    TCanvas canvas(painter);
    if (firstPaint_) {
        if (buttonSub_.bpDown())
            LoadDownColors();
        else
            LoadNormalFaceColors();
        firstPaint_ = false;
    }
    canvas.SetBrush(buttonMain_.bmBkgndColor());
    canvas.FillRegion(OutlineRegion(), buttonMain_.bmBkgndColor());
    PaintBand(canvas);
    PaintCaption(canvas);
}

void TColorButton::PaintBand(TCanvas& canvas) {
    const TBevelShape shape = buttonMain_.bmShape();
    const int edge = buttonMain_.bmEdge();
    TBevelBandPainter band(canvas, TRect::FromQRect(rect()), shape, edge);
    band.SetRoundRectRingsKeepBrush(true);
    const TVariableShape variable{buttonSub_.LeftSide(), buttonSub_.RightSide(), edge, height() / 2,
                                  buttonSub_.bpWidth()};
    if (shape == bsVariable)
        band.SetVariableRingHook(
            [&variable](TCanvas& c, const TBandRing& ring) { DrawVariableRing(c, ring, variable); });

    const bool gradient = buttonSub_.bpFill();
    if (buttonMain_.bmBorderLineWidth() > 0)
        band.Band(buttonMain_.bmBorderLineColor(), buttonMain_.bmBorderLineColor(), buttonMain_.bmBorderLineWidth(),
                  gradient, true);
    // Two-coloured: face 2 on the upper left (raised with the defaults); gradient: from face 1 outside
    // toward face 2 inside.
    if (gradient)
        band.Band(work_.face1, work_.face2, buttonSub_.bpWidth(), true);
    else
        band.Band(work_.face2, work_.face1, buttonSub_.bpWidth(), false);
}

void TColorButton::PaintCaption(TCanvas& canvas) {
    canvas.SetHollowBrush();
    canvas.SetFont(font());
    if (firstCaption_) {
        work_.caption = captionSub_.caColor();
        firstCaption_ = false;
    }
    canvas.SetFontColor(work_.caption);
    const int x = width() / 2 + captionSub_.caLeft() - canvas.TextWidth(caption_) / 2;
    const int y = height() / 2 + captionSub_.caTop() - canvas.TextHeight(QStringLiteral("W")) / 2;
    canvas.TextOut(x, y, caption_);
}

}  // namespace components
