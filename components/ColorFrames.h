// A container that paints a shaped frame of up to four concentric bands around a flat background: an
// optional border line, the outer bevel, a distance band and the inner bevel. Its outline (rectangle,
// octagon, ellipse, rounded rectangle) becomes its window's shape, or its parent's with FormAlign. It
// can drag a window when pressed (HitTest) and changes its bevel colours on hover, press, blinking and
// light effects. Child widgets laid out on it stay inside the bands (contents margins).
#pragma once

#include <QPointer>
#include <QRegion>

#include "components/Action.h"
#include "components/BevelClick.h"
#include "components/BevelControl.h"
#include "components/BevelFillSub.h"
#include "components/BevelMainCtrl.h"
#include "components/BevelOutline.h"
#include "components/BlinkingCtrl.h"
#include "components/LightEffectCtrl.h"

namespace components {

class TCanvas;

using TBevelMain = TBevelMainCtrl;
using TBevelOuterAction = TAction;
using TBevelDistanceAction = TAction;
using TBevelInnerAction = TAction;
using TBevelOuterBlinking = TBlinkingCtrl;
using TBevelOuterLightEffect = TLightEffectCtrl;
using TBkgndLightEffect = TLightEffectCtrl;

class TColorFrames : public TBevelControl {
public:
    static constexpr int kDefaultWidth = 185;
    static constexpr int kDefaultHeight = 41;

    explicit TColorFrames(QWidget* parent = nullptr);
    ~TColorFrames() override;

    TBevelMain& BevelMain() { return bevelMain_; }
    TBevelOuterSub& BevelOuterSub() { return outerSub_; }
    TBevelDistanceSub& BevelDistanceSub() { return distanceSub_; }
    TBevelInnerSub& BevelInnerSub() { return innerSub_; }
    TBevelOuterAction& BevelOuterAction() { return outerAction_; }
    TBevelDistanceAction& BevelDistanceAction() { return distanceAction_; }
    TBevelInnerAction& BevelInnerAction() { return innerAction_; }
    TBevelClick& BevelOuterClick() { return outerClick_; }
    TBevelClick& BevelDistanceClick() { return distanceClick_; }
    TBevelClick& BevelInnerClick() { return innerClick_; }
    TBevelOuterBlinking& BevelOuterBlinking() { return outerBlinking_; }
    TBevelOuterLightEffect& BevelOuterLightEffect() { return outerLightEffect_; }
    TBkgndLightEffect& BkgndLightEffect() { return bkgndLightEffect_; }

    // The frame fills its parent, and the parent takes the frame's outline.
    bool FormAlign() const { return formAlign_; }
    void SetFormAlign(bool value);
    // True: a press anywhere drags (with HitTest set); False: a press on the inner area is a click.
    bool HitTestRgn() const { return hitTestRgn_; }
    void SetHitTestRgn(bool value) { hitTestRgn_ = value; }

    // Band width: outer + inner + distance bevel widths (the border line is not part of it).
    int BandWidth() const;
    QRegion OuterRegion() const;
    QRegion InnerRegion() const;

    TNotifyEvent OnEnter;  // raised on pointer entry, before OnMouseEnter

    // Working colours, as painting reads them.
    struct WorkingColors {
        TColor outer1, outer2, distance1, distance2, inner1, inner2, background;
    };
    const WorkingColors& Working() const { return work_; }
    bool Hovered() const { return hover_; }

protected:
    // Off: only the inner area is filled with the background (after the bevels); the frame's colour
    // and the outer area are left to what lies beneath, wherever the bands do not paint.
    void SetPaintsOuterArea(bool on) { paintsOuterArea_ = on; }

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void CMMouseEnter() override;
    void CMMouseLeave() override;
    void WMLightEffect(TColor color, int effectId) override;
    void WMBlinkState(bool on) override;

private:
    void MainChanged();
    void SubChanged(TBevelFillSub& sub, TColor& color1, TColor& color2);

    void LoadNormalColors();
    void LoadHoverColors();  // after a press while the pointer is inside
    void HoverOn();
    void HoverOff();
    void PressPainting();
    void ReleasePainting();
    bool AnyHoverEffect() const;
    void UpdateContentMargins();
    void UpdateWindowRegion();
    void FollowParent();

    void PaintBevels(TCanvas& canvas);

    TBevelMain bevelMain_;
    TBevelOuterSub outerSub_;
    TBevelDistanceSub distanceSub_;
    TBevelInnerSub innerSub_;
    TBevelOuterAction outerAction_;
    TBevelDistanceAction distanceAction_;
    TBevelInnerAction innerAction_;
    TBevelClick outerClick_;
    TBevelClick distanceClick_;
    TBevelClick innerClick_;
    TBevelOuterBlinking outerBlinking_;
    TBevelOuterLightEffect outerLightEffect_;
    TBkgndLightEffect bkgndLightEffect_;

    bool formAlign_ = false;
    bool hitTestRgn_ = true;
    QPointer<QWidget> alignedParent_;

    WorkingColors work_{};
    bool firstPaint_ = true;
    bool paintsOuterArea_ = true;
    bool hover_ = false;
    bool pressed_ = false;
    bool blinkWasOn_ = false;
};

}  // namespace components
