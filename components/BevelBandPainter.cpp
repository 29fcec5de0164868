#include "components/BevelBandPainter.h"

#include "components/ColorUtils.h"

namespace components {

TBevelBandPainter::TBevelBandPainter(TCanvas& canvas, const TRect& client, TBevelShape shape, int edge)
    : canvas_(canvas), rect_(client), shape_(shape), edge_(edge) {}

void TBevelBandPainter::Band(TColor a, TColor b, int n, bool gradient, bool border) {
    canvas_.SetPen(a, 1);
    rect_.Right -= 1;
    rect_.Bottom -= 1;
    for (int i = 0; i < n; ++i) {
        const TColor color = gradient ? ColorAtStep(n, i + 1, a, b) : a;
        canvas_.SetPenColor(color);
        const TBandRing ring{rect_, ringCounter_ + i, i, gradient, b, color};
        switch (shape_) {
        case bsRect:
            RectRing(ring, color);
            rect_.Shrink(1);
            break;
        case bsRound:
            EllipseRing(ring, n);
            rect_.Shrink(1);
            break;
        case bsRoundRect:
            RoundRectRing(ring, border);
            rect_.Shrink(1);
            break;
        case bsPolyButton:
        case bsPolyBevel:
            canvas_.SetPenWidth(1);
            PolygonRing(ring);
            break;
        case bsVariable:
            if (variableRing_) {
                canvas_.SetPenWidth(1);
                variableRing_(canvas_, ring);
            }
            break;
        }
    }
    ringCounter_ += n;
    rect_.Right += 1;
    rect_.Bottom += 1;
}

void TBevelBandPainter::RectRing(const TBandRing& ring, TColor color) {
    const auto [L, T, R, B] = ring.rect;
    canvas_.SetPenColor(color);
    const QPoint upperLeft[] = {{L, B}, {L, T}, {R, T}};
    canvas_.Polyline(upperLeft);
    if (!ring.gradient) canvas_.SetPenColor(ring.colorB);
    const QPoint lowerRight[] = {{R, T}, {R, B}, {L - 1, B}};
    canvas_.Polyline(lowerRight);
}

void TBevelBandPainter::EllipseRing(const TBandRing& ring, int n) {
    const auto [L, T, R, B] = ring.rect;
    if (n > 2 && ring.i > 0) canvas_.SetPenWidth(2);  // stays 2 for the rest of the band
    canvas_.Arc(ring.rect, QPoint(R, T), QPoint(L, B));
    if (!ring.gradient) canvas_.SetPenColor(ring.colorB);
    canvas_.Arc(ring.rect, QPoint(L, B), QPoint(R, T));
}

void TBevelBandPainter::RoundRectRing(const TBandRing& ring, bool border) {
    canvas_.SetPenWidth(ring.i > 0 || border ? 3 : 1);
    if (!roundRectKeepsBrush_) canvas_.SetHollowBrush();
    canvas_.RoundRect(ring.rect, edge_, edge_);
}

void TBevelBandPainter::Line(int x0, int y0, int x1, int y1) {
    canvas_.MoveTo(x0, y0);
    canvas_.LineTo(x1, y1);
}

// The diagonals advance half a pixel per ring; the extra lines of the odd rings fill the gaps.
void TBevelBandPainter::PolygonRing(const TBandRing& ring) {
    const auto [L, T, R, B] = ring.rect;
    const int k = ring.k, e = edge_, h = k / 2;
    const QPoint v[8] = {{L + k, B - e - h}, {L + k, T + e + h}, {L + e + h, T + k}, {R - e - h, T + k},
                         {R - k, T + e + h}, {R - k, B - e - h}, {R - e - h, B - k}, {L + e + h, B - k}};
    const bool odd = k % 2 != 0;
    Line(v[0].x(), v[0].y(), v[1].x(), v[1].y());
    Line(v[1].x(), v[1].y(), v[2].x(), v[2].y());
    if (odd) Line(v[1].x() + 1, v[1].y(), v[2].x() + 1, v[2].y());
    Line(v[2].x(), v[2].y(), v[3].x(), v[3].y());
    Line(v[3].x(), v[3].y(), v[4].x(), v[4].y());
    if (odd) Line(v[3].x() - 1, v[3].y(), v[4].x(), v[4].y() + 1);
    if (!ring.gradient) canvas_.SetPenColor(ring.colorB);
    Line(v[4].x(), v[4].y(), v[5].x(), v[5].y());
    Line(v[5].x(), v[5].y(), v[6].x(), v[6].y());
    if (odd) Line(v[5].x() - 1, v[5].y(), v[6].x() - 1, v[6].y());
    Line(v[6].x(), v[6].y(), v[7].x(), v[7].y());
    Line(v[7].x(), v[7].y(), v[0].x(), v[0].y());
    if (odd) Line(v[7].x() + 1, v[7].y(), v[0].x(), v[0].y() - 1);
}

}  // namespace components
