// The install window's lamps ("VLC", "Admin"): a small lit or dark indicator in one of four colour
// pairs or a custom pair, flat, shaded (ls3D) or bevelled like a button, rectangular, rounded, round or
// octagonal. It can blink, or go dark by itself one interval after it was switched on (auto-off). It
// takes no mouse input. A colour button that ignores presses fills it and does the drawing: the LED
// sets the button's outline, band and colours.
#pragma once

#include <memory>

#include "components/BevelTypes.h"
#include "components/Control.h"
#include "components/PersistentSettings.h"

namespace components {
class TColorButton;
}
namespace platform {
class TTimer;
}

namespace hollarin {

using components::TColor;

enum TLedStyle { lsFlat, ls3D, lsButton };
enum TLedShape { shRect, shRoundRect, shRound, shPoly };
enum TLedColorLed { lcdRed, lcdGreen, lcdYellow, lcdGray, lcdCustom };

constexpr int kLedMinOffDelayMs = 50;

class TLedMainProp : public components::TPersistentSettings {
public:
    int lpHeight() const { return height_; }
    void SetLpHeight(int v) { SetNotifying(height_, v); }
    int lpWidth() const { return width_; }
    void SetLpWidth(int v) { SetNotifying(width_, v); }
    TColor lpBkgndColor() const { return bkgndColor_; }
    void SetLpBkgndColor(TColor v) { SetNotifying(bkgndColor_, v); }
    TLedStyle lpStyle() const { return style_; }
    void SetLpStyle(TLedStyle v) { SetNotifying(style_, v); }
    bool lpOn() const { return on_; }
    // Ignored while the LED blinks.
    void SetLpOn(bool v) {
        if (!blinking_) SetNotifying(on_, v);
    }
    TLedShape lpShape() const { return shape_; }
    void SetLpShape(TLedShape v) { SetNotifying(shape_, v); }
    int lpEdge() const { return edge_; }
    void SetLpEdge(int v) { SetNotifying(edge_, v); }
    bool lpBlinking() const { return blinking_; }
    // Blinking and auto-off exclude each other: switching one on switches the other off.
    void SetLpBlinking(bool v);
    int lpOffDelay() const { return offDelayMs_; }
    // Stored without a change event (it takes effect at the next change), never below 50 ms.
    void SetLpOffDelay(int v) { offDelayMs_ = v < kLedMinOffDelayMs ? kLedMinOffDelayMs : v; }
    bool lpAutoOff() const { return autoOff_; }
    void SetLpAutoOff(bool v);

private:
    friend class TLed;  // the timer stores lpOn directly, without a change event
    int height_ = 15;
    int width_ = 8;
    TColor bkgndColor_ = components::clBlack;
    TLedStyle style_ = ls3D;
    bool on_ = false;
    TLedShape shape_ = shRect;
    int edge_ = 5;
    bool blinking_ = false;
    int offDelayMs_ = 500;
    bool autoOff_ = false;
};

class TCustomColor : public components::TPersistentSettings {
public:
    TColor ccColor1Off() const { return c1Off_; }
    void SetCcColor1Off(TColor v) { SetNotifying(c1Off_, v); }
    TColor ccColor2Off() const { return c2Off_; }
    void SetCcColor2Off(TColor v) { SetNotifying(c2Off_, v); }
    TColor ccColor1On() const { return c1On_; }
    void SetCcColor1On(TColor v) { SetNotifying(c1On_, v); }
    TColor ccColor2On() const { return c2On_; }
    void SetCcColor2On(TColor v) { SetNotifying(c2On_, v); }

private:
    TColor c1Off_ = 62;
    TColor c2Off_ = 128;
    TColor c1On_ = 6052956;
    TColor c2On_ = 255;
};

class TLedProp : public components::TPersistentSettings {
public:
    TLedColorLed llColor() const { return color_; }
    void SetLlColor(TLedColorLed v) { SetNotifying(color_, v); }
    TCustomColor& llCustomColor() { return customColor_; }

private:
    TLedColorLed color_ = lcdRed;
    TCustomColor customColor_;
};

class TLed : public components::TControl {
public:
    explicit TLed(QWidget* parent = nullptr);
    ~TLed() override;

    TLedMainProp& LedMainProp() { return mainProp_; }
    TLedProp& Led() { return ledProp_; }

    // What the LED's button shows now.
    components::TColorButton& Button() { return *button_; }
    components::TBevelShape ButtonShape() const;
    int BandWidth() const;
    bool BandFilled() const;
    TColor FaceColor() const;
    TColor BandColor1() const;
    TColor BandColor2() const;
    // The lit/dark memory, kept in the button: 1 after ShowOn, 0 after ShowOff.
    int StateValue() const;
    bool TimerRunning() const;
    int TimerInterval() const;

    // The timer's handler (blinking, auto-off).
    void TimerTick();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Update();
    void MainChanged();
    void ShowOn();
    void ShowOff();
    void PaintColors(bool on);
    void StartTimer();

    TLedMainProp mainProp_;
    TLedProp ledProp_;
    std::unique_ptr<platform::TTimer> timer_;
    int tickCounter_ = 0;

    components::TColorButton* button_;  // owned as a child
};

}  // namespace hollarin
