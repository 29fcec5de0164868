// A push or toggle button that paints itself: a face in its background colour, one band around it
// (after an optional border line) and a centred caption. Its outline (rectangle, octagon, ellipse,
// rounded rectangle, or the variable outline of two side forms) is always its window's shape, so a
// press outside the outline reaches whatever lies behind. The face and caption change colour on hover,
// press and lock; blinking and two light effects (face and caption) animate them.
#pragma once

#include <QRegion>
#include <QString>

#include "components/Action.h"
#include "components/BevelControl.h"
#include "components/BevelMainCtrl.h"
#include "components/BlinkingCtrl.h"
#include "components/ButtonSub.h"
#include "components/CaptionSubCtrl.h"
#include "components/LightEffectCtrl.h"

namespace components {

class TCanvas;

using TButtonMain = TBevelMainCtrl;
using TCaptionSub = TCaptionSubCtrl;
using TButtonAction = TAction;
using TButtonBlinking = TBlinkingCtrl;
using TButtonLightEffect = TLightEffectCtrl;
using TCaptionLightEffect = TLightEffectCtrl;

class TColorButton : public TBevelControl {
public:
    static constexpr int kDefaultWidth = 75;
    static constexpr int kDefaultHeight = 24;

    explicit TColorButton(QWidget* parent = nullptr);
    ~TColorButton() override;

    TButtonMain& ButtonMain() { return buttonMain_; }
    TButtonSub& ButtonSub() { return buttonSub_; }
    TCaptionSub& CaptionSub() { return captionSub_; }
    TButtonAction& ButtonAction() { return buttonAction_; }
    TButtonBlinking& ButtonBlinking() { return buttonBlinking_; }
    TButtonLightEffect& ButtonLightEffect() { return buttonLightEffect_; }
    TCaptionLightEffect& CaptionLightEffect() { return captionLightEffect_; }

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption);

    // For the button's owner: while PressReaction is off, presses and releases change no colours and
    // no lock state (the standard mouse events are still raised). The two values are the owner's.
    bool PressReaction() const { return pressReaction_; }
    void SetPressReaction(bool value) { pressReaction_ = value; }
    int ButtonValue() const { return buttonValue_; }
    void SetButtonValue(int value) { buttonValue_ = value; }
    int StateValue() const { return stateValue_; }
    void SetStateValue(int value) { stateValue_ = value; }

    // The outline over the client rectangle, as the window's shape takes it.
    QRegion OutlineRegion() const;

    // Working colours, as painting reads them.
    struct WorkingColors {
        TColor face1, face2, caption;
    };
    const WorkingColors& Working() const { return work_; }
    bool Hovered() const { return hover_; }
    bool ButtonPressed() const { return pressed_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void CMMouseEnter() override;
    void CMMouseLeave() override;
    void WMLightEffect(TColor color, int effectId) override;
    void WMBlinkState(bool on) override;

private:
    void MainChanged();
    void SubChanged();
    void CaptionChanged();

    // The colour sets loaded into the working colours.
    void LoadNormalFaceColors();
    void LoadDownColors();
    void LoadActionColors();
    void LoadHoverColors();
    void LoadHoverFaceColors();
    void StopLightEffects();
    void UpdateWindowRegion();

    void PaintBand(TCanvas& canvas);
    void PaintCaption(TCanvas& canvas);

    TButtonMain buttonMain_;
    TButtonSub buttonSub_;
    TCaptionSub captionSub_;
    TButtonAction buttonAction_;
    TButtonBlinking buttonBlinking_;
    TButtonLightEffect buttonLightEffect_;
    TCaptionLightEffect captionLightEffect_;

    QString caption_;
    WorkingColors work_{};
    bool hover_ = false;
    bool pressed_ = false;
    bool firstPaint_ = true;
    bool firstCaption_ = true;
    bool blinkWasOn_ = false;
    bool pressReaction_ = true;
    int buttonValue_ = 0;
    int stateValue_ = 0;
};

}  // namespace components
