#include "components/ColorFrames.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

#include "components/BevelBandPainter.h"
#include "components/Canvas.h"
#include "components/ColorUtils.h"
#include "components/ShapeRegion.h"

namespace components {

namespace {

constexpr int kRampOuter = 1;
constexpr int kRampBackground = 2;
constexpr int kDefaultBlinkIntervalMs = 500;

void InitSub(TBevelFillSub& sub, TBevelFill fill, int width) {
    sub.SetbpFill(fill);
    sub.SetbpColor1(clGray);
    sub.SetbpColor2(clWhite);
    sub.SetbpWidth(width);
}

void InitAction(TAction& action) {
    action.SetacColor1(clGray);
    action.SetacColor2(clWhite);
}

void InitClick(TBevelClick& click) {
    click.SetbcColor1(clWhite);
    click.SetbcColor2(clGray);
}

}  // namespace

TColorFrames::TColorFrames(QWidget* parent) : TBevelControl(parent) {
    resize(kDefaultWidth, kDefaultHeight);
    bevelMain_.SetbmBkgndColor(clSilver);
    bevelMain_.SetbmEdge(10);
    InitSub(outerSub_, bfUnsymm, 12);
    InitSub(distanceSub_, bfNone, 0);
    InitSub(innerSub_, bfNone, 0);
    for (TAction* action : {&outerAction_, &distanceAction_, &innerAction_}) InitAction(*action);
    for (TBevelClick* click : {&outerClick_, &distanceClick_, &innerClick_}) InitClick(*click);
    outerBlinking_.SetblInterval(kDefaultBlinkIntervalMs);
    InitLightEffect(outerLightEffect_, kRampOuter);
    InitLightEffect(bkgndLightEffect_, kRampBackground);

    bevelMain_.OnChange = [this] { MainChanged(); };
    outerSub_.OnChange = [this] { SubChanged(outerSub_, work_.outer1, work_.outer2); };
    distanceSub_.OnChange = [this] { SubChanged(distanceSub_, work_.distance1, work_.distance2); };
    innerSub_.OnChange = [this] { SubChanged(innerSub_, work_.inner1, work_.inner2); };
    MakeExclusive(outerAction_, outerLightEffect_);
    WatchBlinking(outerBlinking_, [this] {
        work_.outer1 = outerSub_.bpColor1();
        work_.outer2 = outerSub_.bpColor2();
    });

    LoadNormalColors();
    UpdateContentMargins();
}

TColorFrames::~TColorFrames() {
    if (alignedParent_) alignedParent_->removeEventFilter(this);
}

int TColorFrames::BandWidth() const { return outerSub_.bpWidth() + innerSub_.bpWidth() + distanceSub_.bpWidth(); }

QRegion TColorFrames::OuterRegion() const {
    const TRect client = TRect::FromQRect(rect());
    if (bevelMain_.bmShape() == bsVariable) return RectRegion(client);
    return BevelShapeRegion(client, bevelMain_.bmShape(), bevelMain_.bmEdge(),
                            OuterOctagon(client, bevelMain_.bmEdge()));
}

QRegion TColorFrames::InnerRegion() const {
    const TRect client = TRect::FromQRect(rect());
    const int a = BandWidth();
    const TRect inner = client.Shrunk(a);
    if (bevelMain_.bmShape() == bsVariable) return RectRegion(inner);
    return BevelShapeRegion(inner, bevelMain_.bmShape(), bevelMain_.bmEdge(),
                            InnerOctagon(client, bevelMain_.bmEdge(), a));
}

void TColorFrames::SetFormAlign(bool value) {
    if (value == formAlign_) return;
    formAlign_ = value;
    if (alignedParent_) {
        alignedParent_->removeEventFilter(this);
        if (!value) alignedParent_->clearMask();  // the parent takes back its own shape
    }
    alignedParent_ = value ? parentWidget() : nullptr;
    if (alignedParent_) {
        alignedParent_->installEventFilter(this);
        FollowParent();
    }
    UpdateWindowRegion();
}

void TColorFrames::FollowParent() {
    if (alignedParent_) setGeometry(alignedParent_->rect());
}

bool TColorFrames::eventFilter(QObject* watched, QEvent* event) {
    if (watched == alignedParent_ && event->type() == QEvent::Resize) FollowParent();
    return TBevelControl::eventFilter(watched, event);
}

void TColorFrames::resizeEvent(QResizeEvent* event) {
    TBevelControl::resizeEvent(event);
    UpdateWindowRegion();
}

// The outline becomes the window's shape: the parent's with FormAlign, else the frame's own. A
// variable outline means nothing to a frame: it keeps its rectangle.
void TColorFrames::UpdateWindowRegion() {
    QWidget* target = formAlign_ && alignedParent_ ? alignedParent_.data() : this;
    if (target != this) clearMask();
    if (bevelMain_.bmShape() == bsVariable) {
        target->clearMask();
        return;
    }
    const QRegion region = OuterRegion();
    target->setMask(target == this ? region : region.translated(pos()));
}

void TColorFrames::UpdateContentMargins() {
    int m = 0;
    for (int w : {outerSub_.bpWidth(), innerSub_.bpWidth(), distanceSub_.bpWidth(), bevelMain_.bmBorderLineWidth()})
        if (w > 0) m += w;
    setContentsMargins(m, m, m, m);
}

void TColorFrames::MainChanged() {
    work_.background = bevelMain_.bmBkgndColor();
    UpdateContentMargins();
    raise();
    UpdateWindowRegion();  // the shape or its corners may have changed
    update();
}

void TColorFrames::SubChanged(TBevelFillSub& sub, TColor& color1, TColor& color2) {
    color1 = sub.bpColor1();
    color2 = sub.bpColor2();
    UpdateContentMargins();
    update();
}

void TColorFrames::LoadNormalColors() {
    work_ = {outerSub_.bpColor1(),   outerSub_.bpColor2(), distanceSub_.bpColor1(), distanceSub_.bpColor2(),
             innerSub_.bpColor1(),   innerSub_.bpColor2(), bevelMain_.bmBkgndColor()};
}

void TColorFrames::LoadHoverColors() {
    LoadNormalColors();
    if (outerLightEffect_.leOn())
        work_.outer2 = RaiseLuminance(outerSub_.bpColor2(), outerLightEffect_.leLuminance());
    if (bkgndLightEffect_.leOn())
        work_.background = RaiseLuminance(bevelMain_.bmBkgndColor(), bkgndLightEffect_.leLuminance());
    if (outerAction_.acOn()) work_.outer1 = outerAction_.acColor1(), work_.outer2 = outerAction_.acColor2();
    if (distanceAction_.acOn())
        work_.distance1 = distanceAction_.acColor1(), work_.distance2 = distanceAction_.acColor2();
    if (innerAction_.acOn()) work_.inner1 = innerAction_.acColor1(), work_.inner2 = innerAction_.acColor2();
}

bool TColorFrames::AnyHoverEffect() const {
    return outerAction_.acOn() || innerAction_.acOn() || distanceAction_.acOn() || outerLightEffect_.leOn() ||
           bkgndLightEffect_.leOn();
}

void TColorFrames::CMMouseEnter() {
    if (AnyHoverEffect() && !hover_) {
        if (bkgndLightEffect_.leOn())
            RestartLightEffect(bkgndLightEffect_, work_.background, bevelMain_.bmBkgndColor(), true, kRampBackground);
        if (outerBlinking_.blOn()) {
            blinkWasOn_ = true;
            outerBlinking_.SetblOn(false);  // its last message restores the outer colours
        }
        hover_ = true;
        HoverOn();
        if (pressed_) PressPainting();
    }
    if (OnEnter) OnEnter(this);
    TBevelControl::CMMouseEnter();
}

void TColorFrames::HoverOn() {
    if (pressed_) {
        LoadHoverColors();
    } else {
        if (outerLightEffect_.leOn())
            RestartLightEffect(outerLightEffect_, work_.outer2, outerSub_.bpColor2(), true, kRampOuter);
        if (outerAction_.acOn()) work_.outer1 = outerAction_.acColor1(), work_.outer2 = outerAction_.acColor2();
        if (distanceAction_.acOn())
            work_.distance1 = distanceAction_.acColor1(), work_.distance2 = distanceAction_.acColor2();
        if (innerAction_.acOn()) work_.inner1 = innerAction_.acColor1(), work_.inner2 = innerAction_.acColor2();
    }
    repaint();
}

void TColorFrames::CMMouseLeave() {
    if (AnyHoverEffect()) {
        if (blinkWasOn_) {
            blinkWasOn_ = false;
            outerBlinking_.SetblOn(true);
        }
        const QPoint global = QCursor::pos();
        if (!OuterRegion().contains(mapFromGlobal(global))) {
            if (pressed_) ReleasePainting();
            if (bkgndLightEffect_.leOn())
                RestartLightEffect(bkgndLightEffect_, work_.background, bevelMain_.bmBkgndColor(), false,
                                 kRampBackground);
            if (hover_) HoverOff();
            hover_ = false;
        } else {
            // Still over the outline: another window came in front, or the window went away.
            QWidget* top = window();
            if (!top->isVisible()) {
                hover_ = false;
                LoadNormalColors();
            } else if (!top->isEnabled() || QApplication::topLevelAt(global) != top) {
                HoverOff();
                hover_ = false;
            }
        }
    }
    TBevelControl::CMMouseLeave();
}

void TColorFrames::HoverOff() {
    if (pressed_) {
        LoadNormalColors();
    } else {
        if (outerLightEffect_.leOn())
            RestartLightEffect(outerLightEffect_, work_.outer2, outerSub_.bpColor2(), false, kRampOuter);
        if (outerAction_.acOn()) work_.outer1 = outerSub_.bpColor1(), work_.outer2 = outerSub_.bpColor2();
        if (distanceAction_.acOn()) work_.distance1 = distanceSub_.bpColor1(), work_.distance2 = distanceSub_.bpColor2();
        if (innerAction_.acOn()) work_.inner1 = innerSub_.bpColor1(), work_.inner2 = innerSub_.bpColor2();
    }
    if (outerAction_.acOn() || innerAction_.acOn())
        update();
    else
        repaint();
}

void TColorFrames::PressPainting() {
    if (bevelMain_.bmShape() != bsPolyBevel) {
        if (innerClick_.bcOn()) work_.inner1 = innerClick_.bcColor1(), work_.inner2 = innerClick_.bcColor2();
        if (outerClick_.bcOn()) work_.outer1 = outerClick_.bcColor1(), work_.outer2 = outerClick_.bcColor2();
        if (distanceClick_.bcOn())
            work_.distance1 = distanceClick_.bcColor1(), work_.distance2 = distanceClick_.bcColor2();
    }
    repaint();
}

void TColorFrames::ReleasePainting() {
    if (bevelMain_.bmShape() != bsPolyBevel) LoadHoverColors();
    repaint();
}

void TColorFrames::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        TBevelControl::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    pressed_ = true;
    hover_ = true;
    PressPainting();
    if (HitTest() == htNone) {
        TBevelControl::mousePressEvent(event);  // the standard press raises OnMouseDown
        return;
    }
    RaiseMouseDown(Qt::LeftButton, Qt::NoModifier, pos.x(), pos.y());
    if (!hitTestRgn_ && InnerRegion().contains(pos)) {
        RaiseClick();  // a press on the inner area is a click and moves nothing
        return;
    }
    TBevelControl::mousePressEvent(event);  // arms the window move
}

void TColorFrames::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (hover_ && pressed_) ReleasePainting();
        pressed_ = false;
    }
    TBevelControl::mouseReleaseEvent(event);
}

void TColorFrames::mouseDoubleClickEvent(QMouseEvent* event) {
    if (hover_) ReleasePainting();
    pressed_ = false;
    TBevelControl::mouseDoubleClickEvent(event);
}

void TColorFrames::WMLightEffect(TColor color, int effectId) {
    if (effectId == kRampOuter)
        work_.outer2 = color;
    else if (effectId == kRampBackground)
        work_.background = color;
    repaint();
}

void TColorFrames::WMBlinkState(bool on) {
    if (on) {
        work_.outer1 = outerAction_.acColor1();
        work_.outer2 = outerAction_.acColor2();
    } else {
        work_.outer1 = outerSub_.bpColor1();
        work_.outer2 = outerSub_.bpColor2();
    }
    repaint();
}

void TColorFrames::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    TCanvas canvas(painter);
    const TRect client = TRect::FromQRect(rect());
    if (paintsOuterArea_) canvas.FillRect(client, Color());  // where the window's shape does not cut the outline off
    if (firstPaint_) {
        LoadNormalColors();
        firstPaint_ = false;
    }
    if (paintsOuterArea_) canvas.FillRegion(OuterRegion(), work_.background);
    PaintBevels(canvas);
    canvas.FillRegion(InnerRegion(), work_.background);
}

void TColorFrames::PaintBevels(TCanvas& canvas) {
    const TBevelShape shape = bevelMain_.bmShape();
    if (shape == bsVariable) return;
    TBevelBandPainter band(canvas, TRect::FromQRect(rect()), shape, bevelMain_.bmEdge());

    if (bevelMain_.bmBorderLineWidth() > 0)
        band.Band(bevelMain_.bmBorderLineColor(), bevelMain_.bmBorderLineColor(), bevelMain_.bmBorderLineWidth(),
                  false, true);

    // Outer and inner bevels: split in two mirrored halves when symmetric (a groove for the polygon
    // bevel without fill), else one band.
    auto bevel = [&](const TBevelFillSub& sub, TColor c1, TColor c2, bool raisedWhenFlat) {
        const int w = sub.bpWidth();
        const TBevelFill fill = sub.bpFill();
        if (fill == bfSymm || (shape == bsPolyBevel && fill == bfNone)) {
            band.Band(c1, c2, w - w / 2, fill != bfNone);
            band.Band(c2, c1, w / 2, fill != bfNone);
        } else if (fill == bfNone) {
            if (raisedWhenFlat)
                band.Band(c2, c1, w, false);
            else
                band.Band(c1, c2, w, false);
        } else {
            band.Band(c1, c2, w, true);
        }
    };

    bevel(outerSub_, work_.outer1, work_.outer2, true);

    const int d = distanceSub_.bpWidth();
    if (d > 0) {
        switch (distanceSub_.bpFill()) {
        case bfSymm:
            band.Band(work_.distance1, work_.distance2, d - d / 2, true);
            band.Band(work_.distance2, work_.distance1, d / 2, true);
            break;
        case bfNone:
            band.Band(work_.distance1, work_.distance1, d / 2 + 1, false);
            break;
        case bfUnsymm:
            band.Band(work_.distance1, work_.distance2, d, true);
            break;
        }
    }

    if (innerSub_.bpWidth() > 0) bevel(innerSub_, work_.inner1, work_.inner2, false);
}

}  // namespace components
