#include "installer/InstallerLed.h"

#include <QPainter>

#include "components/Canvas.h"
#include "components/ColorButton.h"
#include "installer/ShiftColorLuminance.h"
#include "platform/ui/ttimer.h"

namespace hollarin {

namespace {

struct TLedColors {
    TColor Off1, Off2, On1, On2;
};

TLedColors ColorsOf(TLedProp& prop) {
    switch (prop.llColor()) {
    case lcdRed: return {0x00003E, 0x000080, 0x5C5C5C, 0x0000FF};
    case lcdGreen: return {0x003C00, 0x005000, 0x5C5C5C, 0x00FF00};
    case lcdYellow: return {0x003E3E, 0x008080, 0x5C5C5C, 0x00FFFF};
    case lcdGray: return {0x202020, 0x909090, 0x808080, 0xE0E0E0};
    case lcdCustom: break;
    }
    TCustomColor& c = prop.llCustomColor();
    return {c.ccColor1Off(), c.ccColor2Off(), c.ccColor1On(), c.ccColor2On()};
}

components::TBevelShape ButtonShapeOf(TLedShape shape) {
    switch (shape) {
    case shRect: return components::bsRect;
    case shRoundRect: return components::bsRoundRect;
    case shRound: return components::bsRound;
    case shPoly: return components::bsPolyButton;
    }
    return components::bsRect;
}

// Luminance shifts of the button look's band, off and on.
constexpr int kButtonShadeDownOff = 80;
constexpr int kButtonShadeDownOn = 50;
constexpr int kButtonShadeUpOff = 30;
constexpr int kButtonShadeUpOn = 80;
constexpr int kButtonBandWidth = 2;

}  // namespace

void TLedMainProp::SetLpBlinking(bool v) {
    if (blinking_ == v) return;
    blinking_ = v;
    if (v) autoOff_ = false;
    Changed();
}

void TLedMainProp::SetLpAutoOff(bool v) {
    if (autoOff_ == v) return;
    autoOff_ = v;
    if (v) blinking_ = false;
    Changed();
}

TLed::TLed(QWidget* parent)
    : components::TControl(parent),
      timer_(std::make_unique<platform::TTimer>()),
      button_(new components::TColorButton(this)) {
    button_->SetCaption(QString());
    button_->SetButtonValue(0);
    button_->SetPressReaction(false);  // the button ignores presses
    button_->SetStateValue(0);
    SetParentColor(false);
    SetColor(components::clBlack);
    setEnabled(false);  // the LED takes no mouse input
    mainProp_.OnChange = [this] { MainChanged(); };
    ledProp_.OnChange = [this] { Update(); };
    ledProp_.llCustomColor().OnChange = [this] { Update(); };
    timer_->SetEnabled(false);
    timer_->SetInterval(uint32_t(mainProp_.lpOffDelay()));
    timer_->SetOnTimer([this] { TimerTick(); });
    Update();
}

TLed::~TLed() = default;

components::TBevelShape TLed::ButtonShape() const { return button_->ButtonMain().bmShape(); }
int TLed::BandWidth() const { return button_->ButtonSub().bpWidth(); }
bool TLed::BandFilled() const { return button_->ButtonSub().bpFill(); }
TColor TLed::FaceColor() const { return button_->ButtonMain().bmBkgndColor(); }
TColor TLed::BandColor1() const { return button_->ButtonSub().bpColor1(); }
TColor TLed::BandColor2() const { return button_->ButtonSub().bpColor2(); }
int TLed::StateValue() const { return button_->StateValue(); }

bool TLed::TimerRunning() const { return timer_->Enabled(); }
int TLed::TimerInterval() const { return int(timer_->Interval()); }

void TLed::Update() {
    SetColor(mainProp_.lpBkgndColor());
    resize(mainProp_.lpWidth(), mainProp_.lpHeight());
    button_->setGeometry(0, 0, mainProp_.lpWidth(), mainProp_.lpHeight());
    button_->ButtonMain().SetbmShape(ButtonShapeOf(mainProp_.lpShape()));
    button_->ButtonMain().SetbmEdge(mainProp_.lpEdge());
    components::TButtonSub& band = button_->ButtonSub();
    switch (mainProp_.lpStyle()) {
    case lsFlat:
        band.SetbpFill(false);
        band.SetbpWidth(0);
        break;
    case ls3D: {
        const int smaller = std::min(mainProp_.lpWidth(), mainProp_.lpHeight());
        band.SetbpFill(true);  // symmetric: a gradient from colour 1 outside to colour 2 inside
        band.SetbpWidth((smaller + 1) / 2);
        break;
    }
    case lsButton:
        band.SetbpFill(false);
        band.SetbpWidth(kButtonBandWidth);
        break;
    }
    if (mainProp_.lpOn())
        ShowOn();
    else
        ShowOff();
}

void TLed::MainChanged() {
    Update();
    timer_->SetInterval(uint32_t(mainProp_.lpOffDelay()));
    if (mainProp_.lpBlinking() && !timer_->Enabled()) {
        tickCounter_ = 1;
        timer_->SetEnabled(true);
    }
    if (!mainProp_.lpBlinking() && !mainProp_.lpAutoOff()) timer_->SetEnabled(false);
}

void TLed::StartTimer() {
    if (timer_->Enabled()) return;
    tickCounter_ = 1;
    timer_->SetEnabled(true);
}

void TLed::ShowOn() {
    button_->SetStateValue(1);
    PaintColors(true);
    if (mainProp_.lpAutoOff()) StartTimer();
}

void TLed::ShowOff() {
    button_->SetStateValue(0);
    if (mainProp_.lpAutoOff())
        StartTimer();  // a lit LED stays lit until the tick
    else
        PaintColors(false);
}

void TLed::PaintColors(bool on) {
    const TLedColors colors = ColorsOf(ledProp_);
    const TColor c1 = on ? colors.On1 : colors.Off1;
    const TColor c2 = on ? colors.On2 : colors.Off2;
    components::TButtonMain& main = button_->ButtonMain();
    components::TButtonSub& band = button_->ButtonSub();
    switch (mainProp_.lpStyle()) {
    case lsFlat:
        main.SetbmBkgndColor(c2);
        break;
    case ls3D:
        band.SetbpColor1(c1);
        band.SetbpColor2(c2);
        main.SetbmBkgndColor(c1);
        break;
    case lsButton:
        main.SetbmBkgndColor(c2);
        band.SetbpColor1(ShiftColorLuminance(c2, on ? kButtonShadeDownOn : kButtonShadeDownOff, false));
        band.SetbpColor2(ShiftColorLuminance(c2, on ? kButtonShadeUpOn : kButtonShadeUpOff, true));
        break;
    }
    button_->repaint();
}

void TLed::TimerTick() {
    if (mainProp_.lpBlinking()) {
        const bool lit = mainProp_.on_;
        PaintColors(!lit);
        mainProp_.on_ = !lit;
        return;
    }
    if (button_->StateValue() == 0) {
        timer_->SetEnabled(false);
        PaintColors(false);
        return;
    }
    if (mainProp_.lpAutoOff()) {
        PaintColors(false);
        if (tickCounter_ > 1) {
            timer_->SetEnabled(false);
            mainProp_.on_ = false;
        }
        ++tickCounter_;
        return;
    }
    timer_->SetEnabled(false);
    PaintColors(true);
}

void TLed::paintEvent(QPaintEvent*) {
    // The panel behind the button: seen where the button's outline leaves the rectangle.
    QPainter painter(this);
    components::TCanvas canvas(painter);
    canvas.FillRect(components::TRect{0, 0, width(), height()}, Color());
}

}  // namespace hollarin
