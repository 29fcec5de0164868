#include "components/BevelLabel.h"

#include <QPainter>

#include "components/Canvas.h"
#include "components/CaptionText.h"
#include "components/LabelPainter.h"
#include "components/Rect.h"
#include "components/ShapeRings.h"

namespace components {

TBevelLabel::TBevelLabel(QWidget* parent)
    : TControl(parent),
      labelShape_(std::make_unique<TShapeProperty>()),
      labelBorder_(std::make_unique<TBorderProp>()),
      labelBevelInner_(std::make_unique<TBevelProp>(bsRaised)),
      labelBevelOuter_(std::make_unique<TBevelProp>(bsLowered)),
      labelFill_(std::make_unique<TFillProperty>()),
      captionProp_(std::make_unique<TCaptionProperty>()),
      label3DFrame_(std::make_unique<TFrame3D>()) {
    resize(kBevelLabelDefaultWidth, kBevelLabelDefaultHeight);
    SetRepaintOnFontOrEnabled(true);
    const auto invalidate = [this] { update(); };
    labelShape_->OnChange = invalidate;
    labelBorder_->OnChange = invalidate;
    labelBevelInner_->OnChange = invalidate;
    labelBevelOuter_->OnChange = invalidate;
    labelFill_->OnChange = invalidate;
    captionProp_->OnChange = invalidate;
    label3DFrame_->OnChange = invalidate;
}

TBevelLabel::~TBevelLabel() = default;

void TBevelLabel::SetCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    repaint();
}

void TBevelLabel::paintEvent(QPaintEvent*) {
    QWidget* parent = parentWidget();
    if (!parent || !parent->isVisible()) return;
    QImage work = NewWorkImage(size());
    {
        QPainter workPainter(&work);
        TRect b = ComposeInParentCoordinates(workPainter, *this);
        TCanvas canvas(workPainter);
        PaintShapeBorder(canvas, b, *labelShape_, *labelBorder_);

        TShapeFill fill;
        fill.Kind = labelFill_->fpKind();
        fill.Style = labelFill_->fpStyle();
        fill.Solid = Color();
        fill.Color1 = labelFill_->fpColor1();
        fill.Color2 = labelFill_->fpColor2();
        fill.RingCount = height() / 2 + height() % 2;
        PaintShapeFill(canvas, b, *labelShape_, fill);

        PaintFrame(canvas, b);
        if (!caption_.isEmpty()) PaintCaption(canvas, b);
    }
    QPainter painter(this);
    PaintThroughShape(painter, work, *labelShape_);
}

void TBevelLabel::PaintFrame(TCanvas& canvas, TRect& b) {
    const TFrame3D& frame = *label3DFrame_;
    const bool rect = labelShape_->shShape() == psRect;
    if (frame.frKind() == fkNone) {
        if (!rect) return;
        PaintBevel(canvas, b, *labelBevelOuter_);
        PaintBevel(canvas, b, *labelBevelInner_);
        return;
    }
    const int width = frame.frWidth();
    if (rect) {
        if (frame.frKind() == fkGrad) {
            DrawShapeRings(canvas, b, frame.frColor1(), frame.frColor2(), width, 0, psRect, 0, true);
        } else {
            // A ridge: the outer half from frColor1 to frColor2, the inner half back again.
            TRect f = b;
            DrawShapeRings(canvas, f, frame.frColor1(), frame.frColor2(), width / 2, 0, psRect, 0, true);
            f.Shrink(width / 2);
            DrawShapeRings(canvas, f, frame.frColor2(), frame.frColor1(), width - width / 2, 0, psRect, 0, true);
        }
    }
    b.Shrink(width);
}

void TBevelLabel::PaintCaption(TCanvas& canvas, const TRect& b) {
    canvas.SetFont(font());
    const TFrame3D& frame = *label3DFrame_;
    int m = labelBevelOuter_->bpWidth() + labelBevelInner_->bpWidth() + labelBorder_->fpWidth();
    if (frame.frKind() != fkNone) m += 2 * frame.frWidth();
    const int w = width(), h = height();
    const int th = canvas.TextHeight(caption_);
    const int xpos = captionProp_->cpXpos(), ypos = captionProp_->cpYpos();
    const TCaptionAlignment alignment = captionProp_->cpAlignment();

    const TCaptionText writer(canvas, captionProp_->cpShadow(), isEnabled(), FontColor());

    if (captionProp_->cpStyle() == cdVertical) {
        const int tw = canvas.TextWidth(caption_);
        int x = 0;
        switch (alignment) {
        case caLeft:
            x = b.Left + xpos;
            break;
        case caCenter:
            x = b.Left + w / 2 - tw / 2 - m / 2 + xpos;
            break;
        case caRight:
            x = b.Right - tw + xpos;
            break;
        case caCustom:
            x = b.Left + 1 + xpos;
            break;
        }
        const int y = alignment == caCustom ? b.Top + 1 + ypos : b.Bottom - h / 2 - th / 2 + m / 2 - m % 2 + ypos;
        writer.Draw(x, y, caption_, true);
        return;
    }
    const int cw = canvas.TextWidth(caption_.left(1));
    int x = 0;
    switch (alignment) {
    case caLeft:
        x = b.Left + m;
        break;
    case caCenter:
        x = b.Left + w / 2 - cw / 2;
        break;
    case caRight:
        x = b.Right - cw - m;
        break;
    case caCustom:
        x = b.Left + m + xpos;
        break;
    }
    const int y = alignment == caCustom ? b.Top + m + ypos : b.Top + h / 2 - int(th * caption_.size()) / 2;
    writer.DrawColumn(x, y, caption_);
}

}  // namespace components
