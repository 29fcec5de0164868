#include "components/ShapeRings.h"

#include <array>

#include "components/ColorUtils.h"

namespace components {

namespace {
constexpr int kRoundRingPenWidth = 4;  // rounded and elliptic rings overlap so no gaps show
}

void DrawShapeRings(TCanvas& canvas, TRect rect, TColor color1, TColor color2, int count, int edge,
                    TPanelShape shape, int startStep, bool shrink) {
    canvas.SetPenWidth(1);
    if (shrink) {
        --rect.Right;
        --rect.Bottom;
    }
    if (shape != psRect && shape != psRoundRect && shape != psEllipse) return;
    for (int i = 0; i < count; ++i) {
        const bool last = (startStep > 0 && startStep + i > count) || i == count - 1;
        const TColor color = last ? color2 : ColorAtStep(count, startStep + i, color1, color2);
        switch (shape) {
        case psRect: {
            canvas.SetPen(color, canvas.PenWidth());
            const std::array<QPoint, 5> ring = {QPoint(rect.Left, rect.Bottom), QPoint(rect.Left, rect.Top),
                                                QPoint(rect.Right, rect.Top), QPoint(rect.Right, rect.Bottom),
                                                QPoint(rect.Left, rect.Bottom)};
            canvas.Polyline(ring);
            break;
        }
        case psRoundRect:
            canvas.SetPen(color, kRoundRingPenWidth);
            canvas.RoundRect(rect, edge, edge);
            break;
        case psEllipse:
            canvas.SetPen(color, kRoundRingPenWidth);
            canvas.Ellipse(rect);
            break;
        }
        rect.Shrink(1);
    }
}

}  // namespace components
