#include "components/LedLabel.h"

#include <QPainter>
#include <algorithm>

#include "components/Canvas.h"
#include "components/LabelPainter.h"
#include "platform/ui/ttimer.h"

namespace components {

namespace {

struct TLedColors {
    TColor Flat;                  // with no gradient
    TColor Grad1, Grad2, Solid;  // with a gradient kind
};

// Built-in colours by TColorLed (without lcdCustom), off and on.
constexpr TLedColors kLedColorsOff[] = {
    {0x000080, 0x000000, 0x000080, 0x000080},  // red
    {0x008000, 0x002B00, 0x008000, 0x006600},  // green
    {0x008080, 0x002D2D, 0x008080, 0x002D2D},  // yellow
    {0x808080, 0x333333, 0x808080, 0x808080},  // grey
    {0x004E9B, 0x000040, 0x0060BF, 0x003871},  // orange
    {0x800000, 0x400000, 0xFF0000, 0x800000},  // blue
};
constexpr TLedColors kLedColorsOn[] = {
    {0x0000FF, 0x0000FF, 0x9BCDFF, 0x0000E8},  // red
    {0x00FF00, 0x5BB700, 0x80FF80, 0x00C100},  // green
    {0x00FFFF, 0x00D7D7, 0xCAFFFF, 0x00FFFF},  // yellow
    {0xC0C0C0, 0xC0C0C0, 0xF2F2F2, 0xC0C0C0},  // grey
    {0x0080FF, 0x4080FF, 0xA4D1FF, 0x0080FF},  // orange
    {0xFFFF00, 0xFF8000, 0xFFFF00, 0xC08000},  // blue
};

}  // namespace

TLedLabel::TLedLabel(QWidget* parent)
    : TControl(parent),
      ledColor_(std::make_unique<TLedColor>()),
      ledShape_(std::make_unique<TShapeProperty>()),
      ledBorder_(std::make_unique<TBorderProp>()),
      ledBevelInner_(std::make_unique<TBevelProp>(bsRaised)),
      ledBevelOuter_(std::make_unique<TBevelProp>(bsLowered)),
      ledFill_(std::make_unique<TFillProperty>()) {
    resize(kLedDefaultSize, kLedDefaultSize);
    ledColor_->OnChange = [this] { UpdateColors(); };
    ledFill_->OnChange = [this] { UpdateColors(); };
    ledShape_->OnChange = [this] { update(); };
    ledBorder_->OnChange = [this] { update(); };
    ledBevelInner_->OnChange = [this] { update(); };
    ledBevelOuter_->OnChange = [this] { update(); };
    UpdateColors();
}

// The pending auto-off timer goes with the LED, so an expiry never reaches a freed LED.
TLedLabel::~TLedLabel() = default;

void TLedLabel::SetLedOn(bool value) {
    if (value == ledOn_) return;
    if (ledAutoOff_ <= 0) {
        ledOn_ = value;
    } else {
        if (ledOn_ || autoOffTimer_) return;  // lit, or in its dead time
        ledOn_ = value;
        StartAutoOffTimer();
    }
    UpdateColors();
}

void TLedLabel::SetLedAutoOff(int value) {
    if (value == ledAutoOff_) return;
    ledAutoOff_ = value == 0 ? 0 : std::clamp(value, kLedMinAutoOffMs, kLedMaxAutoOffMs);
    UpdateColors();
}

void TLedLabel::SetVisible(bool value) {
    if (value == visible_) return;
    visible_ = value;
    UpdateColors();
}

void TLedLabel::StartAutoOffTimer() {
    if (autoOffTimer_) return;
    autoOffTimer_ = std::make_unique<platform::TTimer>();
    autoOffTimer_->SetInterval(uint32_t(ledAutoOff_));
    autoOffTimer_->SetOnTimer([this] {
        autoOffTimer_.reset();  // the timer fires once
        AutoOffExpired();
    });
}

void TLedLabel::AutoOffExpired() {
    if (!ledOn_) return;  // the dead time ended
    ledOn_ = false;
    StartAutoOffTimer();  // dead time: switching on is ignored while it runs
    UpdateColors();
}

void TLedLabel::UpdateColors() {
    const bool gradient = ledFill_->fpKind() != fkNone;
    const TColorLed colour = ledColor_->llColor();
    if (colour == lcdCustom) {
        const TCustomColor& custom = ledColor_->llCustomColor();
        const TColor c1 = ledOn_ ? custom.ccColor1On() : custom.ccColor1Off();
        const TColor c2 = ledOn_ ? custom.ccColor2On() : custom.ccColor2Off();
        solidColor_ = c1;
        if (gradient) {
            gradColor1_ = c1;
            gradColor2_ = c2;
        }
    } else {
        const TLedColors& row = (ledOn_ ? kLedColorsOn : kLedColorsOff)[colour];
        if (gradient) {
            solidColor_ = row.Solid;
            gradColor1_ = row.Grad1;
            gradColor2_ = row.Grad2;
        } else {
            solidColor_ = row.Flat;
        }
    }
    repaint();
}

void TLedLabel::paintEvent(QPaintEvent*) {
    QWidget* parent = parentWidget();
    if (!parent || !parent->isVisible() || !visible_) return;
    QImage work = NewWorkImage(size());
    {
        QPainter workPainter(&work);
        TRect b = ComposeInParentCoordinates(workPainter, *this);
        TCanvas canvas(workPainter);
        PaintShapeBorder(canvas, b, *ledShape_, *ledBorder_);

        TShapeFill fill;
        fill.Kind = ledFill_->fpKind();
        fill.Style = ledFill_->fpStyle();
        fill.Solid = solidColor_;
        fill.Color1 = gradColor1_;
        fill.Color2 = gradColor2_;
        fill.RingCount = height() / 2 + height() % 2;
        fill.StartStep = ledOn_ ? 2 : 0;  // the lit LED skips the two outermost shades
        PaintShapeFill(canvas, b, *ledShape_, fill);

        if (ledShape_->shShape() == psRect) {
            PaintBevel(canvas, b, *ledBevelOuter_);
            PaintBevel(canvas, b, *ledBevelInner_);
        }
        if (ledColor_->llBorder() > 0) {
            const TRect ring =
                b.Shrunk(ledBorder_->fpWidth() + ledBevelInner_->bpWidth() + ledBevelOuter_->bpWidth());
            canvas.SetPen(solidColor_, 2 * ledColor_->llBorder() - 1);
            canvas.SetHollowBrush();
            switch (ledShape_->shShape()) {
            case psRect:
                canvas.Rectangle(ring);
                break;
            case psRoundRect:
                canvas.RoundRect(ring, ledShape_->shEdge(), ledShape_->shEdge());
                break;
            case psEllipse:
                canvas.Ellipse(ring);
                break;
            }
        }
    }
    QPainter painter(this);
    PaintThroughShape(painter, work, *ledShape_);
}

}  // namespace components
