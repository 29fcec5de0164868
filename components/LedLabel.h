// The small status lamp of the status bar, capture panels and share tabs: one of six built-in colour
// pairs or a custom pair, on or off, flat, graded or shaded in rings, inside an optional border,
// bevels and coloured ring, rectangular, rounded or elliptic. With LedAutoOff it is a flash indicator:
// switching it on lights it for LedAutoOff milliseconds, then keeps it dark and deaf to further
// switching for as long again.
#pragma once

#include <memory>

#include "components/BevelProp.h"
#include "components/BorderProp.h"
#include "components/Control.h"
#include "components/FillProperty.h"
#include "components/LedColor.h"
#include "components/ShapeProperty.h"

namespace platform {
class TTimer;
}

namespace components {

constexpr int kLedMinAutoOffMs = 50;
constexpr int kLedMaxAutoOffMs = 10000;
constexpr int kLedDefaultSize = 10;

class TLedLabel : public TControl {
public:
    explicit TLedLabel(QWidget* parent = nullptr);
    ~TLedLabel() override;

    // Colour and fill changes repaint at once; shape and bevel changes at the next paint cycle.
    TLedColor& LedColor() { return *ledColor_; }
    TShapeProperty& LedShape() { return *ledShape_; }
    TBorderProp& LedBorder() { return *ledBorder_; }
    TBevelProp& LedBevelInner() { return *ledBevelInner_; }
    TBevelProp& LedBevelOuter() { return *ledBevelOuter_; }
    // Only fpStyle and fpKind count; the colours come from the LED's colour table.
    TFillProperty& LedFill() { return *ledFill_; }

    bool LedOn() const { return ledOn_; }
    void SetLedOn(bool value);
    int LedAutoOff() const { return ledAutoOff_; }
    // 0 switches auto-off off; any other value is clamped to 50..10000 ms.
    void SetLedAutoOff(int value);
    // The LED's own visibility: while false it paints nothing (what it drew stays until the parent
    // repaints that area).
    bool Visible() const { return visible_; }
    void SetVisible(bool value);

    // The current colours from the colour table.
    TColor SolidColor() const { return solidColor_; }
    TColor GradColor1() const { return gradColor1_; }
    TColor GradColor2() const { return gradColor2_; }
    bool AutoOffPending() const { return autoOffTimer_ != nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void UpdateColors();  // recomputes the colours, then paints at once
    void StartAutoOffTimer();
    void AutoOffExpired();

    std::unique_ptr<TLedColor> ledColor_;
    std::unique_ptr<TShapeProperty> ledShape_;
    std::unique_ptr<TBorderProp> ledBorder_;
    std::unique_ptr<TBevelProp> ledBevelInner_;
    std::unique_ptr<TBevelProp> ledBevelOuter_;
    std::unique_ptr<TFillProperty> ledFill_;
    bool ledOn_ = false;
    int ledAutoOff_ = 0;
    bool visible_ = true;
    TColor solidColor_ = clBlack;
    TColor gradColor1_ = clBlack;
    TColor gradColor2_ = clBlack;
    std::unique_ptr<platform::TTimer> autoOffTimer_;  // the pending auto-off or dead time
};

}  // namespace components
