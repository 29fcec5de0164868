#include "components/CanvasPanelEx.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "components/BitmapUtils.h"
#include "components/CaptionText.h"
#include "components/ColorUtils.h"
#include "components/GradientPaint.h"
#include "components/ShapeRegion.h"
#include "platform/ui/ttimer.h"

namespace components {

namespace {

// The picture with every pixel of its lower-left pixel's colour made transparent.
QImage TransparentPicture(const QImage& picture) {
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = image.pixel(0, image.height() - 1) | 0xFF000000u;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] | 0xFF000000u) == transparent) line[x] = 0;
    }
    return image;
}

}  // namespace

TCanvasPanelEx::TCanvasPanelEx(QWidget* parent)
    : TBevelControl(parent),
      fill_(std::make_unique<TFillProperty>()),
      imageProp_(std::make_unique<TImageProperty>()),
      captionProp_(std::make_unique<TPanelCaptionProperty>()),
      panelMain_(std::make_unique<TBevelMainCtrl>()),
      bevelProp_(std::make_unique<TBevelSubCtrl>()),
      shape_(std::make_unique<TPanelShapeProperty>()),
      lightEffect_(std::make_unique<TLightEffectProperty>()),
      cursorPoll_(std::make_unique<platform::TTimer>()),
      lightTimer_(std::make_unique<platform::TTimer>()) {
    resize(kPanelDefaultWidth, kPanelDefaultHeight);
    SetRepaintOnFontOrEnabled(true);
    panelMain_->SetbmBkgndColor(clActiveBorder);
    panelMain_->SetbmBorderLineColor(clBlack);
    panelMain_->SetbmBorderLineWidth(1);
    bevelProp_->SetbpColor1(clGray);
    bevelProp_->SetbpColor2(clWhite);
    bevelProp_->SetbpWidth(1);
    setContentsMargins(1, 1, 1, 1);

    const auto invalidate = [this] { update(); };
    fill_->OnChange = invalidate;
    imageProp_->OnChange = invalidate;
    captionProp_->OnChange = invalidate;
    bevelProp_->OnChange = invalidate;
    shape_->OnChange = invalidate;
    panelMain_->OnChange = [this] {
        // Child controls align inside the border line.
        const int margin = std::max(panelMain_->bmBorderLineWidth(), 0);
        setContentsMargins(margin, margin, margin, margin);
        update();
    };
    lightEffect_->OnChange = [this] { LightEffectSwitched(); };

    cursorPoll_->SetEnabled(false);
    cursorPoll_->SetInterval(kCursorPollMs);
    cursorPoll_->SetOnTimer([this] { CursorPollTick(); });
    lightTimer_->SetEnabled(false);
    lightTimer_->SetInterval(uint32_t(lightEffect_->leTimer()));
    lightTimer_->SetOnTimer([this] { LightTimerTick(); });
}

TCanvasPanelEx::~TCanvasPanelEx() {
    cursorPoll_.reset();
    lightTimer_.reset();
}

bool TCanvasPanelEx::LightTimerRunning() const { return lightTimer_->Enabled(); }
bool TCanvasPanelEx::CursorPollRunning() const { return cursorPoll_->Enabled(); }

void TCanvasPanelEx::SetPicture(const QImage& picture) {
    picture_ = picture;
    repaint();
}

void TCanvasPanelEx::SetBkgndPicture(const QImage& picture) {
    bkgndPicture_ = picture;
    update();
}

void TCanvasPanelEx::SetCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    update();
}

bool TCanvasPanelEx::CursorInside() const { return rect().contains(mapFromGlobal(QCursor::pos())); }

// ---- mouse enter and leave ------------------------------------------------------------------------

void TCanvasPanelEx::CMMouseEnter() {
    if (entered_) return;
    entered_ = true;
    cursorPoll_->SetEnabled(true);
    if (lightEffect_->leOn()) StartLightEffect();
    if (OnMouseEnter) OnMouseEnter(this);
}

void TCanvasPanelEx::CMMouseLeave() {
    if (CursorInside()) return;
    // The leave is taken once, by whichever comes first: the platform's notification, the cursor
    // poll or the release of a press outside; during a drag the poll and the release decide.
    if (!entered_ || (HitTest() != htNone && panelPressed_)) return;
    entered_ = false;
    cursorPoll_->SetEnabled(false);
    if (lightEffect_->leOn()) {
        effectState_ = esDarkening;  // OnMouseLeave follows when the darkening ends
        lightTimer_->SetInterval(uint32_t(lightEffect_->leTimer()));
        lightTimer_->SetEnabled(true);
    } else {
        TBevelControl::CMMouseLeave();
    }
}

void TCanvasPanelEx::CursorPollTick() {
    if (CursorInside() || (HitTest() != htNone && panelPressed_)) return;
    CMMouseLeave();
}

void TCanvasPanelEx::mouseMoveEvent(QMouseEvent* event) {
    if (!entered_) CMMouseEnter();
    TBevelControl::mouseMoveEvent(event);
}

void TCanvasPanelEx::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        effectState_ = esOff;
        panelPressed_ = true;
        RaiseMouseDown(Qt::LeftButton, Qt::NoModifier, 0, 0);
    }
    TBevelControl::mousePressEvent(event);
}

void TCanvasPanelEx::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        TBevelControl::mouseReleaseEvent(event);
        return;
    }
    panelPressed_ = false;
    effectState_ = esBrightening;
    RaiseMouseUp(Qt::LeftButton, Qt::NoModifier, 0, 0);
    TBevelControl::mouseReleaseEvent(event);
    if (CursorInside()) return;
    if (entered_) {
        CMMouseLeave();
        return;
    }
    // The click ran a modal dialog, during which the pointer left and the leave was taken; the
    // mouse-up raised after the click then put the look of a pointer over it back. Tell the leave again.
    TBevelControl::CMMouseLeave();
}

// ---- light effect -------------------------------------------------------------------------------

void TCanvasPanelEx::LightEffectSwitched() {
    if (lightEffect_->leOn()) {
        if (!shifted_) shifted_.emplace();
    } else {
        shifted_.reset();
    }
}

void TCanvasPanelEx::StartLightEffect() {
    if (shifted_) *shifted_ = background_;
    effectState_ = esBrightening;
    lightTimer_->SetInterval(uint32_t(lightEffect_->leTimer()));
    lightTimer_->SetEnabled(true);
}

// Every step is taken from the caption's colour at the start of the ramp, never from the last step (a
// colour through the HLS scale and back is off by a unit or two), so the ramp ends on that colour
// exactly. The luminance stays on the scale: a sum above 240 would turn a light caption dark. A colour
// set from outside during the ramp becomes the new start.
void TCanvasPanelEx::ShiftFontLuminance(int delta) {
    if (!captionProp_->cpLightEffect()) return;
    if (captionShift_ == 0 || FontColor() != captionShown_) {
        captionStart_ = FontColor();
        captionShift_ = 0;
    }
    captionShift_ += delta;
    if (captionShift_ == 0) {
        SetFontColor(captionStart_);
    } else {
        THLSTriple hls = RGBToHLS(ColorToRGB(captionStart_));
        hls.Lum = uint8_t(std::clamp(hls.Lum + captionShift_, 0, kHlsMax));
        SetFontColor(HLSToRGB(hls));
    }
    captionShown_ = FontColor();
}

// The darkening is over: the caption is back on its start colour, also when the step width changed on
// the way.
void TCanvasPanelEx::EndCaptionRamp() {
    if (captionShift_ != 0 && FontColor() == captionShown_) SetFontColor(captionStart_);
    captionShift_ = 0;
}

void TCanvasPanelEx::LightTimerTick() {
    if (panelPressed_) return;
    const int step = lightEffect_->leStep();
    const int top = lightEffect_->leLuminance();
    if (effectState_ == esBrightening) {
        effectAmount_ += step;
        ShiftFontLuminance(step);
        if (effectAmount_ < top) {
            if (shifted_) ShiftBitmapLuminance(background_, effectAmount_, *shifted_);
            update();
        }
        if (effectAmount_ >= top) {
            lightTimer_->SetEnabled(false);
            effectAmount_ = top;
        }
    } else if (effectState_ == esDarkening) {
        effectAmount_ -= step;
        ShiftFontLuminance(-step);
        if (effectAmount_ > 0) {
            if (shifted_) ShiftBitmapLuminance(background_, effectAmount_, *shifted_);
            update();
        }
        if (effectAmount_ <= 0) {
            lightTimer_->SetEnabled(false);
            effectAmount_ = 0;
            EndCaptionRamp();
            // The ramp is back at the start: show the plain background again, not its last step.
            effectState_ = esOff;
            update();
            if (OnMouseLeave) OnMouseLeave(this);
        }
    }
}

// ---- painting -----------------------------------------------------------------------------------

void TCanvasPanelEx::PaintBorder(TCanvas& canvas, TRect& r) {
    const int b = panelMain_->bmBorderLineWidth();
    if (b <= 0) return;
    const TPanelShape shape = shape_->shShape();
    canvas.SetPen(panelMain_->bmBorderLineColor(), 2 * b - 1);
    if (shape != psRect)
        canvas.SetBrush(panelMain_->bmBorderLineColor());
    else if (fill_->fpKind() != fkNone)
        canvas.SetBrush(fill_->fpColor1());
    else
        canvas.SetBrush(panelMain_->bmBkgndColor());
    switch (shape) {
    case psRect:
        canvas.Rectangle(r);
        break;
    case psRoundRect:
        canvas.RoundRect(r, shape_->shEdgeX(), shape_->shEdgeY());
        break;
    case psEllipse:
        canvas.Ellipse(r);
        break;
    }
    r.Shrink(b);
}

void TCanvasPanelEx::PaintBevel(TCanvas& canvas, TRect& r) {
    if (shape_->shShape() != psRect) return;
    for (int i = 0; i < bevelProp_->bpWidth(); ++i) {
        canvas.SetPen(bevelProp_->bpColor2(), 1);
        canvas.MoveTo(r.Left, r.Bottom - 1);
        canvas.LineTo(r.Left, r.Top);
        canvas.LineTo(r.Right, r.Top);
        canvas.SetPen(bevelProp_->bpColor1(), 1);
        canvas.MoveTo(r.Right - 1, r.Top);
        canvas.LineTo(r.Right - 1, r.Bottom - 1);
        canvas.LineTo(r.Left, r.Bottom - 1);
        r.Shrink(1);
    }
}

void TCanvasPanelEx::PaintBackground() {
    if (!bkgndPicture_.isNull()) {
        background_ = bkgndPicture_.convertToFormat(QImage::Format_RGB32);
        return;
    }
    background_ = QImage(size(), QImage::Format_RGB32);
    QPainter painter(&background_);
    TCanvas canvas(painter);
    const TRect all{0, 0, width(), height()};
    if (fill_->fpKind() == fkNone)
        canvas.FillRect(all, panelMain_->bmBkgndColor());
    else
        GradientFill(canvas, all, fill_->fpColor1(), fill_->fpColor2(), fill_->fpStyle(), fill_->fpKind() == fkSym);
}

void TCanvasPanelEx::PaintCaption(TCanvas& canvas, const TRect& r, QSize workSize) {
    canvas.SetFont(font());
    const int d = panelMain_->bmBorderLineWidth() + 1;
    const int bw = workSize.width(), bh = workSize.height();
    const int th = canvas.TextHeight(caption_);
    const TCaptionAlignment alignment = captionProp_->cpAlignment();

    const TCaptionText writer(canvas, captionProp_->cpShadow(), isEnabled(), FontColor());

    if (captionProp_->cpStyle() == cdVertical) {
        const int tw = canvas.TextWidth(caption_);
        int x = 0, y = bh / 2 - th / 2;
        switch (alignment) {
        case caLeft:
            x = r.Left + d;
            break;
        case caRight:
            x = r.Right - tw - d;
            break;
        case caCenter:
            x = bw / 2 - tw / 2;
            break;
        case caCustom:
            x = captionProp_->cpXpos() + d;
            y = captionProp_->cpYpos() + d;
            break;
        }
        writer.Draw(x, y, caption_, true);
        return;
    }
    const int cw = canvas.TextWidth(caption_.left(1));
    int x = 0;
    switch (alignment) {
    case caLeft:
        x = d;
        break;
    case caRight:
        x = width() - cw - d;
        break;
    case caCenter:
        x = bw / 2 - cw / 2;
        break;
    case caCustom:
        x = captionProp_->cpXpos() + d;
        break;
    }
    const int y = bh / 2 - int(th * caption_.size()) / 2;
    writer.DrawColumn(x, y, caption_);
}

void TCanvasPanelEx::PaintPicture(QPainter& painter) {
    if (!imageProp_->ipImage() || picture_.isNull()) return;
    QImage picture = picture_;
    if (imageProp_->ipGrayScale()) GrayScaleBitmap(picture_, picture);
    painter.drawImage(imageProp_->ipLeft(), imageProp_->ipTop(), TransparentPicture(picture));
}

void TCanvasPanelEx::paintEvent(QPaintEvent*) {
    QWidget* parent = parentWidget();
    if (!parent || !parent->isVisible()) return;
    QImage work(size(), QImage::Format_RGB32);
    work.fill(ToQColor(kPanelTransparentColor));
    TRect r{0, 0, width(), height()};
    const TPanelShape shape = shape_->shShape();
    const QRegion outer = ShapeRegion(r, shape, shape_->shEdgeX(), shape_->shEdgeY());
    {
        QPainter workPainter(&work);
        TCanvas canvas(workPainter);
        PaintBorder(canvas, r);
        PaintBevel(canvas, r);
        PaintBackground();
        const bool shiftedLook =
            lightEffect_->leOn() && shifted_ && !shifted_->isNull() && effectState_ != esOff;
        canvas.FillRegion(ShapeRegion(r, shape, shape_->shEdgeX(), shape_->shEdgeY()),
                          shiftedLook ? *shifted_ : background_);
        if (!caption_.isEmpty()) PaintCaption(canvas, r, work.size());
        PaintPicture(workPainter);
    }
    QPainter painter(this);
    TCanvas screen(painter);
    screen.FillRegion(outer, work);
}

}  // namespace components
