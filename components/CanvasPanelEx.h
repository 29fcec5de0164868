// The windowed panel that serves as tool-bar button, caption strip, status field and background: a
// rectangle, rounded rectangle or ellipse with an optional border line and bevel, a flat, graded or
// picture background, a caption with optional shadow, an optional picture in colour or grey, mouse
// enter and leave events kept honest by a 200 ms cursor poll, and an optional light effect that
// brightens the background while the mouse is over it. Child controls align inside its border line.
// Settings changes repaint at the next paint cycle; a new picture repaints at once.
#pragma once

#include <QImage>
#include <QString>
#include <memory>
#include <optional>

#include "components/BevelControl.h"
#include "components/BevelMainCtrl.h"
#include "components/BevelSubCtrl.h"
#include "components/Canvas.h"
#include "components/FillProperty.h"
#include "components/ImageProperty.h"
#include "components/LightEffectProperty.h"
#include "components/PanelCaptionProperty.h"
#include "components/PanelShapeProperty.h"
#include "components/Rect.h"

namespace platform {
class TTimer;
}

namespace components {

constexpr int kPanelDefaultWidth = 185;
constexpr int kPanelDefaultHeight = 40;
constexpr int kCursorPollMs = 200;
constexpr TColor kPanelTransparentColor = 0xFF00FE;

class TCanvasPanelEx : public TBevelControl {
public:
    // EffectState values.
    enum TEffectState { esOff = 0, esDarkening = 1, esBrightening = 2 };

    explicit TCanvasPanelEx(QWidget* parent = nullptr);
    ~TCanvasPanelEx() override;

    TFillProperty& Fill() { return *fill_; }
    TImageProperty& ImageProp() { return *imageProp_; }
    TPanelCaptionProperty& CaptionProp() { return *captionProp_; }
    TBevelMainCtrl& PanelMain() { return *panelMain_; }
    TBevelSubCtrl& BevelProp() { return *bevelProp_; }
    TPanelShapeProperty& Shape() { return *shape_; }
    TLightEffectProperty& LightEffect() { return *lightEffect_; }

    const QImage& Picture() const { return picture_; }
    void SetPicture(const QImage& picture);  // repaints at once
    const QImage& BkgndPicture() const { return bkgndPicture_; }
    void SetBkgndPicture(const QImage& picture);

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption);

    bool Entered() const { return entered_; }
    int EffectState() const { return effectState_; }
    int EffectAmount() const { return effectAmount_; }
    bool LightTimerRunning() const;
    bool CursorPollRunning() const;

    // The timers' handlers.
    void CursorPollTick();
    void LightTimerTick();

protected:
    void CMMouseEnter() override;
    void CMMouseLeave() override;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    bool CursorInside() const;
    void StartLightEffect();
    void ShiftFontLuminance(int delta);
    void EndCaptionRamp();
    void LightEffectSwitched();
    void PaintBorder(TCanvas& canvas, TRect& r);
    void PaintBevel(TCanvas& canvas, TRect& r);
    void PaintBackground();
    void PaintCaption(TCanvas& canvas, const TRect& r, QSize workSize);
    void PaintPicture(QPainter& painter);

    std::unique_ptr<TFillProperty> fill_;
    std::unique_ptr<TImageProperty> imageProp_;
    std::unique_ptr<TPanelCaptionProperty> captionProp_;
    std::unique_ptr<TBevelMainCtrl> panelMain_;
    std::unique_ptr<TBevelSubCtrl> bevelProp_;
    std::unique_ptr<TPanelShapeProperty> shape_;
    std::unique_ptr<TLightEffectProperty> lightEffect_;
    QImage picture_;
    QImage bkgndPicture_;
    QString caption_;

    bool entered_ = false;
    bool panelPressed_ = false;  // left button down on the panel
    int effectState_ = esOff;
    int effectAmount_ = 0;
    QImage background_;               // of the last paint: the light effect's source
    std::optional<QImage> shifted_;   // exists while the light effect is on
    TColor captionStart_ = clBlack;   // the caption's colour when its luminance ramp began
    TColor captionShown_ = clBlack;   // the colour of the ramp's last step
    int captionShift_ = 0;            // luminance the ramp has added so far
    std::unique_ptr<platform::TTimer> cursorPoll_;
    std::unique_ptr<platform::TTimer> lightTimer_;
};

}  // namespace components
