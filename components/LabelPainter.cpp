#include "components/LabelPainter.h"

#include <QPainter>
#include <QWidget>
#include <array>

#include "components/GradientPaint.h"
#include "components/ShapeRegion.h"
#include "components/ShapeRings.h"

namespace components {

QImage NewWorkImage(QSize size) {
    QImage work(size, QImage::Format_RGB32);
    work.fill(ToQColor(kLabelTransparentColor));
    return work;
}

TRect ComposeInParentCoordinates(QPainter& workPainter, const QWidget& control) {
    workPainter.translate(-control.pos());
    return TRect::FromQRect(control.geometry());
}

void PaintShapeBorder(TCanvas& canvas, TRect& b, const TShapeProperty& shape, const TBorderProp& border) {
    if (border.fpWidth() <= 0) return;
    const TRect outline = b.Extended(1, 1);
    QRegion region;
    switch (shape.shShape()) {
    case psRect:
        region = RectRegion(outline);
        break;
    case psRoundRect:
        region = RoundRectRegion(outline, shape.shEdge(), shape.shEdge());
        break;
    case psEllipse:
        region = EllipticRegion(outline);
        break;
    }
    canvas.FillRegion(region, border.fpColor());
    b.Shrink(border.fpWidth());
}

void PaintShapeFill(TCanvas& canvas, TRect& b, const TShapeProperty& shape, const TShapeFill& fill) {
    if (fill.Kind == fkNone) {
        canvas.FillRegion(ShapeRegion(b, shape.shShape(), shape.shEdge(), shape.shEdge()), fill.Solid);
        return;
    }
    if (fill.Style == gs3D) {
        // The rings lie on the last column and row; what is painted after them keeps inside.
        --b.Right;
        --b.Bottom;
        canvas.SetBrush(fill.Color2);
        DrawShapeRings(canvas, b, fill.Color1, fill.Color2, fill.RingCount, shape.shEdge(), shape.shShape(),
                       fill.StartStep, false);
        return;
    }
    GradientFill(canvas, b, fill.Color1, fill.Color2, fill.Style, fill.Kind == fkSym);
}

void PaintBevel(TCanvas& canvas, TRect& b, const TBevelProp& bevel) {
    const int width = bevel.bpWidth();
    if (width <= 0) return;
    if (bevel.bpStyle() == bsNone) return;
    const bool raised = bevel.bpStyle() == bsRaised;
    const TColor top = raised ? bevel.bpColor1() : bevel.bpColor2();
    const TColor bottom = raised ? bevel.bpColor2() : bevel.bpColor1();
    TRect r{b.Left, b.Top, b.Right - 1, b.Bottom - 1};
    for (int i = 0; i < width; ++i) {
        canvas.SetPen(top, 1);
        const std::array<QPoint, 3> upperLeft = {QPoint(r.Left, r.Bottom), QPoint(r.Left, r.Top),
                                                 QPoint(r.Right, r.Top)};
        canvas.Polyline(upperLeft);
        canvas.SetPen(bottom, 1);
        const std::array<QPoint, 3> lowerRight = {QPoint(r.Left - 1, r.Bottom), QPoint(r.Right, r.Bottom),
                                                  QPoint(r.Right, r.Top)};
        canvas.Polyline(lowerRight);
        r.Shrink(1);
    }
    b = {r.Left, r.Top, r.Right + 1, r.Bottom + 1};
}

void PaintThroughShape(QPainter& painter, const QImage& work, const TShapeProperty& shape) {
    TCanvas canvas(painter);
    const TRect client{0, 0, work.width(), work.height()};
    canvas.FillRegion(ShapeRegion(client, shape.shShape(), shape.shEdge(), shape.shEdge()), work);
}

}  // namespace components
