#include "installer/InstallerLed.h"

#include <QPainter>

#include "components/BevelBandPainter.h"
#include "components/BevelOutline.h"
#include "components/Canvas.h"
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

TLed::TLed(QWidget* parent) : components::TControl(parent), timer_(std::make_unique<platform::TTimer>()) {
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

bool TLed::TimerRunning() const { return timer_->Enabled(); }
int TLed::TimerInterval() const { return int(timer_->Interval()); }

void TLed::Update() {
    SetColor(mainProp_.lpBkgndColor());
    resize(mainProp_.lpWidth(), mainProp_.lpHeight());
    buttonShape_ = ButtonShapeOf(mainProp_.lpShape());
    switch (mainProp_.lpStyle()) {
    case lsFlat:
        bandFilled_ = false;
        bandWidth_ = 0;
        break;
    case ls3D: {
        const int smaller = std::min(mainProp_.lpWidth(), mainProp_.lpHeight());
        bandFilled_ = true;
        bandWidth_ = (smaller + 1) / 2;
        break;
    }
    case lsButton:
        bandFilled_ = false;
        bandWidth_ = kButtonBandWidth;
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
    stateValue_ = 1;
    PaintColors(true);
    if (mainProp_.lpAutoOff()) StartTimer();
}

void TLed::ShowOff() {
    stateValue_ = 0;
    if (mainProp_.lpAutoOff())
        StartTimer();  // a lit LED stays lit until the tick
    else
        PaintColors(false);
}

void TLed::PaintColors(bool on) {
    const TLedColors colors = ColorsOf(ledProp_);
    const TColor c1 = on ? colors.On1 : colors.Off1;
    const TColor c2 = on ? colors.On2 : colors.Off2;
    switch (mainProp_.lpStyle()) {
    case lsFlat:
        face_ = c2;
        band1_ = band2_ = c2;
        break;
    case ls3D:
        band1_ = c1;
        band2_ = c2;
        face_ = c1;
        break;
    case lsButton:
        face_ = c2;
        band1_ = ShiftColorLuminance(face_, on ? kButtonShadeDownOn : kButtonShadeDownOff, false);
        band2_ = ShiftColorLuminance(face_, on ? kButtonShadeUpOn : kButtonShadeUpOff, true);
        break;
    }
    repaint();
}

void TLed::TimerTick() {
    if (mainProp_.lpBlinking()) {
        const bool lit = mainProp_.on_;
        PaintColors(!lit);
        mainProp_.on_ = !lit;
        return;
    }
    if (stateValue_ == 0) {
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
    QPainter painter(this);
    components::TCanvas canvas(painter);
    const components::TRect client{0, 0, width(), height()};
    canvas.FillRect(client, Color());
    const int edge = mainProp_.lpEdge();
    canvas.FillRegion(components::BevelShapeRegion(client, buttonShape_, edge, components::OuterOctagon(client, edge)),
                      face_);
    if (bandWidth_ > 0) {
        components::TBevelBandPainter band(canvas, client, buttonShape_, edge);
        band.Band(band1_, band2_, bandWidth_, bandFilled_);
    }
}

}  // namespace hollarin
