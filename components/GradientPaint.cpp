#include "components/GradientPaint.h"

#include <array>
#include <cmath>

#include "components/ColorUtils.h"

namespace components {

namespace {

int Trunc(double v) { return int(std::trunc(v)); }

// Colours of the 256 ramp positions: channel c * d + start, truncated, each taken modulo 256.
class TRamp {
public:
    TRamp(TColor color1, TColor color2) {
        SplitColor(color1, r1_, g1_, b1_);
        ColorStepIncrements(kGradientSteps - 1, color1, color2, dR_, dG_, dB_);
    }
    TColor At(int c) const {
        return RGBToColor(Trunc(c * dR_ + r1_) & 0xFF, Trunc(c * dG_ + g1_) & 0xFF, Trunc(c * dB_ + b1_) & 0xFF);
    }

private:
    int r1_, g1_, b1_;
    float dR_, dG_, dB_;
};

void FillPolygon(TCanvas& canvas, TColor color, std::initializer_list<QPoint> points) {
    canvas.SetBrush(color);
    canvas.SetNullPen();
    canvas.Polygon(std::span<const QPoint>(points.begin(), points.size()));
}

void PaintCorner(TCanvas& canvas, const TRect& r, const TRamp& ramp, TGradStyle style) {
    const int left = r.Left, top = r.Top, w = r.Width(), h = r.Height();
    const float xs = float(w) / 255.0f, ys = float(h) / 255.0f;
    int bw = Trunc(xs + 1), bh = Trunc(ys + 1);
    for (int t = 0; t < kGradientSteps; ++t) {
        const TColor color = ramp.At(t);
        switch (style) {
        case gsCornerTopLeft: {
            const int y = std::max(top, top + Trunc((255 - t) * ys) - 1);
            const int x = std::max(left, left + Trunc((255 - t) * xs) - 1);
            FillPolygon(canvas, color,
                        {{left, y}, {x, y}, {x, top}, {x + bw, top}, {x + bw, y + bh}, {left, y + bh}});
            break;
        }
        case gsCornerTopRight: {
            const int y = std::max(top, top + Trunc((255 - t) * ys) - 1);
            const int x = std::max(left, left + Trunc(t * xs));
            FillPolygon(canvas, color,
                        {{x + bw, top}, {x + bw, y}, {left + w, y}, {left + w, y + bh}, {x, y + bh}, {x, top}});
            break;
        }
        case gsCornerBottomRight: {
            const int y = top + Trunc(t * ys);
            const int x = left + Trunc(t * xs);
            if (x + bw > r.Right) bw = 0;
            FillPolygon(canvas, color,
                        {{left + w, y + bh}, {x + bw, y + bh}, {x + bw, top + h}, {x, top + h}, {x, y}, {left + w, y}});
            break;
        }
        default: {  // gsCornerBottomLeft
            const int y = top + Trunc(t * ys);
            const int x = std::max(left, left + Trunc((255 - t) * xs) - 1);
            FillPolygon(canvas, color,
                        {{x, top + h}, {x, y + bh}, {left, y + bh}, {left, y}, {x + bw, y}, {x + bw, top + h}});
            break;
        }
        }
    }
}

void PaintBands(TCanvas& canvas, const TRect& r, const TRamp& ramp, bool horizontal) {
    const float xs = float(r.Width()) / 255.0f, ys = float(r.Height()) / 255.0f;
    for (int t = 0; t < kGradientSteps; ++t) {
        // Each band spans two steps and overlaps its neighbours.
        const TRect band = horizontal
                               ? TRect{r.Left + Trunc((t - 1) * xs), r.Top, r.Left + Trunc((t + 1) * xs), r.Bottom}
                               : TRect{r.Left, r.Top + Trunc((t - 1) * ys), r.Right, r.Top + Trunc((t + 1) * ys)};
        canvas.FillRect(band, ramp.At(t));
    }
}

void PaintDiagonal(TCanvas& canvas, const TRect& r, const TRamp& ramp, bool rising) {
    const int left = r.Left, top = r.Top, w = r.Width(), h = r.Height();
    const float xs = float(w) / 127.0f, ys = float(h) / 127.0f;
    int bw = Trunc(xs + 1), bh = Trunc(ys + 1);
    std::array<std::array<QPoint, 4>, kGradientSteps> q{};
    for (int k = 0; k < 128; ++k) {
        const int x = left + Trunc(k * xs);
        if (x + bw > r.Right) bw = 0;
        if (rising) {
            q[k][0] = {x, top + h};
            q[k][1] = {x + bw, top + h};
            q[128 + k][3] = {x, top};
            q[128 + k][2] = {x + bw, top};
        } else {
            q[k][0] = {x, top};
            q[k][1] = {x + bw, top};
            q[128 + k][3] = {x, top + h};
            q[128 + k][2] = {x + bw, top + h};
        }
    }
    for (int k = 0; k < 128; ++k) {
        if (rising) {
            int y = top + Trunc((127 - k) * ys);
            if (y + bh > r.Bottom) --y;
            q[k][3] = {left, y + bh};
            q[k][2] = {left, y};
            q[128 + k][0] = {left + w, y + bh};
            q[128 + k][1] = {left + w, y};
        } else {
            const int y = top + Trunc(k * ys);
            if (y + bh > r.Bottom) bh = 0;
            q[k][3] = {left, y};
            q[k][2] = {left, y + bh};
            q[128 + k][0] = {left + w, y};
            q[128 + k][1] = {left + w, y + bh};
        }
    }
    canvas.SetNullPen();
    for (int t = 0; t < kGradientSteps; ++t) {
        canvas.SetBrush(ramp.At(t));
        canvas.Polygon(q[t]);
    }
}

void PaintSymmetric(TCanvas& canvas, const TRect& r, const TRamp& ramp) {
    const int w = r.Width(), h = r.Height();
    if (w == 0) return;
    const int n = w / 2 + 1;
    const float ratio = float(h) / float(w), cs = 255.0f / float(n);
    int dx = 0, dy = 0;
    for (int i = 0; i < n; ++i) {
        canvas.FillRect({r.Left + dx, r.Top + dy, r.Left + w - dx, r.Top + h - dy}, ramp.At(Trunc(i * cs)));
        dy = Trunc(i * ratio);
        dx = i;
    }
}

void PaintPyramid(TCanvas& canvas, const TRect& r, const TRamp& ramp) {
    const int w = r.Width(), h = r.Height();
    if (w + h == 0) return;
    const int cx = r.Left + w / 2, cy = r.Top + h / 2;
    const float f = 255.0f / float(w + h);
    // A line from (x, y) to the centre; a start outside the rectangle is skipped and the line then
    // starts where the last one ended.
    auto line = [&](int position, bool inside, int x, int y, int toX, int toY) {
        canvas.SetPen(ramp.At(Trunc(position * f)), 1);
        if (inside) canvas.MoveTo(x, y);
        canvas.LineTo(toX, toY);
    };
    for (int i = 0; i <= w; ++i) {
        const bool inside = r.Left + i < r.Right;
        line(i, inside, r.Left + i, r.Top, cx, cy + 1);
        line(h + i, inside, r.Left + i, r.Bottom - 1, cx, cy);
    }
    for (int j = 0; j <= h; ++j) {
        const bool inside = r.Top + j < r.Bottom;
        line(w + j, inside, r.Left + w - 1, r.Top + j, cx, cy);
        line(j, inside, r.Left, r.Top + j, cx, cy);
    }
}

}  // namespace

void PaintGradient(TCanvas& canvas, const TRect& rect, TColor color1, TColor color2, TGradStyle style) {
    const TRamp ramp(color1, color2);
    switch (style) {
    case gsCornerTopLeft:
    case gsCornerTopRight:
    case gsCornerBottomRight:
    case gsCornerBottomLeft:
        PaintCorner(canvas, rect, ramp, style);
        break;
    case gsDiagonalRising:
    case gsDiagonalFalling:
        PaintDiagonal(canvas, rect, ramp, style == gsDiagonalRising);
        break;
    case gsSymmetric:
        PaintSymmetric(canvas, rect, ramp);
        break;
    case gsHorizontal:
    case gsVertical:
        PaintBands(canvas, rect, ramp, style == gsHorizontal);
        break;
    case gsPyramid:
        PaintPyramid(canvas, rect, ramp);
        break;
    case gs3D:
        break;
    }
}

void GradientFill(TCanvas& canvas, const TRect& rect, TColor color1, TColor color2, TGradStyle style,
                  bool symmetric) {
    if (!symmetric || style == gsSymmetric || style == gsPyramid || style == gs3D) {
        PaintGradient(canvas, rect, color1, color2, style);
        return;
    }
    const int hw = (rect.Right - rect.Left) / 2, hh = (rect.Bottom - rect.Top) / 2;
    const TRect leftHalf{rect.Left, rect.Top, rect.Left + hw + rect.Right % 2, rect.Bottom};
    const TRect rightHalf{rect.Left + hw, rect.Top, rect.Right, rect.Bottom};
    const TRect upperHalf{rect.Left, rect.Top, rect.Right, rect.Top + hh + rect.Bottom % 2};
    const TRect lowerHalf{rect.Left, rect.Top + hh, rect.Right, rect.Bottom};
    switch (style) {
    case gsCornerTopLeft:
    case gsCornerTopRight:
        PaintGradient(canvas, leftHalf, color1, color2, gsCornerTopLeft);
        PaintGradient(canvas, rightHalf, color1, color2, gsCornerTopRight);
        break;
    case gsCornerBottomRight:
    case gsCornerBottomLeft:
        PaintGradient(canvas, leftHalf, color1, color2, gsCornerBottomLeft);
        PaintGradient(canvas, rightHalf, color1, color2, gsCornerBottomRight);
        break;
    case gsDiagonalRising:
        PaintGradient(canvas, leftHalf, color1, color2, gsDiagonalRising);
        PaintGradient(canvas, rightHalf, color2, color1, gsDiagonalFalling);
        break;
    case gsDiagonalFalling:
        PaintGradient(canvas, leftHalf, color1, color2, gsDiagonalFalling);
        PaintGradient(canvas, rightHalf, color2, color1, gsDiagonalRising);
        break;
    case gsHorizontal:
        PaintGradient(canvas, leftHalf, color1, color2, gsHorizontal);
        PaintGradient(canvas, rightHalf, color2, color1, gsHorizontal);
        break;
    case gsVertical:
        PaintGradient(canvas, upperHalf, color1, color2, gsVertical);
        PaintGradient(canvas, lowerHalf, color2, color1, gsVertical);
        break;
    default:
        break;
    }
}

}  // namespace components
