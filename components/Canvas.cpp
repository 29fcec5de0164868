#include "components/Canvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QRegion>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace components {

namespace {

// The pixels of a one-pixel line from a to b, without b (none when a equals b).
std::vector<QPoint> LinePixels(QPoint a, QPoint b) {
    std::vector<QPoint> pixels;
    int x = a.x(), y = a.y();
    const int dx = std::abs(b.x() - x), dy = -std::abs(b.y() - y);
    const int sx = x < b.x() ? 1 : -1, sy = y < b.y() ? 1 : -1;
    int err = dx + dy;
    pixels.reserve(size_t(std::max(dx, -dy)));
    while (x != b.x() || y != b.y()) {
        pixels.emplace_back(x, y);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    return pixels;
}

// The rectangle through the centres of the outermost pixels of r, as Qt's aliased outlines take it.
QRect OutlineRect(const TRect& r) { return QRect(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1); }

// Parametric angle, in 1/16 degree counter-clockwise from 3 o'clock, of the point where the ray from
// the centre of r through p meets the ellipse bounded by r.
double RayAngle16(const TRect& r, QPoint p) {
    const double cx = (r.Left + r.Right) / 2.0, cy = (r.Top + r.Bottom) / 2.0;
    const double rx = std::max(r.Width() / 2.0, 0.5), ry = std::max(r.Height() / 2.0, 0.5);
    const double angle = std::atan2(-(p.y() - cy) / ry, (p.x() - cx) / rx);
    return angle * 180.0 / std::numbers::pi * 16.0;
}

}  // namespace

TCanvas::TCanvas(QPainter& painter) : painter_(painter), font_(painter.font()) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
}

void TCanvas::SetPen(TColor color, int width) {
    penNull_ = false;
    penColor_ = color;
    SetPenWidth(width);
}

void TCanvas::SetBrush(TColor color) {
    brushHollow_ = false;
    brushColor_ = color;
}

void TCanvas::ApplyPen() {
    if (penNull_) {
        painter_.setPen(Qt::NoPen);
        return;
    }
    QPen pen(ToQColor(penColor_));
    pen.setWidth(penWidth_);
    pen.setCapStyle(penWidth_ > 1 ? Qt::RoundCap : Qt::SquareCap);
    pen.setJoinStyle(penWidth_ > 1 ? Qt::RoundJoin : Qt::MiterJoin);
    painter_.setPen(pen);
}

void TCanvas::ApplyBrush() {
    if (brushHollow_)
        painter_.setBrush(Qt::NoBrush);
    else
        painter_.setBrush(ToQColor(brushColor_));
}

void TCanvas::LineTo(int x, int y) {
    const QPoint from = penPos_, to(x, y);
    penPos_ = to;
    if (penNull_ || from == to) return;
    if (penWidth_ == 1) {
        const std::vector<QPoint> pixels = LinePixels(from, to);
        painter_.setPen(QPen(ToQColor(penColor_), 1));
        painter_.drawPoints(pixels.data(), int(pixels.size()));
        return;
    }
    ApplyPen();
    painter_.drawLine(from, to);
}

void TCanvas::Polyline(std::span<const QPoint> points) {
    if (points.empty()) return;
    const QPoint saved = penPos_;
    penPos_ = points.front();
    for (size_t i = 1; i < points.size(); ++i) LineTo(points[i].x(), points[i].y());
    penPos_ = saved;
}

void TCanvas::Polygon(std::span<const QPoint> points, bool winding) {
    if (points.size() < 2) return;
    const QPolygon polygon(QList<QPoint>(points.begin(), points.end()));
    if (!brushHollow_) {
        painter_.setPen(Qt::NoPen);
        ApplyBrush();
        painter_.drawPolygon(polygon, winding ? Qt::WindingFill : Qt::OddEvenFill);
    }
    if (penNull_) return;
    // The closing line ends on the first point, which the first line has drawn.
    std::vector<QPoint> closed(points.begin(), points.end());
    closed.push_back(points.front());
    Polyline(closed);
}

void TCanvas::FillRect(const TRect& r, TColor color) {
    if (r.Right <= r.Left || r.Bottom <= r.Top) return;
    painter_.fillRect(r.ToQRect(), ToQColor(color));
}

void TCanvas::FillRect(const TRect& r) {
    if (!brushHollow_) FillRect(r, brushColor_);
}

void TCanvas::Rectangle(const TRect& r) {
    if (r.Right - r.Left < 1 || r.Bottom - r.Top < 1) return;
    if (penNull_) {
        // Without a pen the inside alone is filled, one pixel short on the right and bottom.
        FillRect({r.Left, r.Top, r.Right - 1, r.Bottom - 1});
        return;
    }
    FillRect(r);
    ApplyPen();
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(OutlineRect(r));
}

void TCanvas::RoundRect(const TRect& r, int cornerWidth, int cornerHeight) {
    if (r.Right - r.Left < 1 || r.Bottom - r.Top < 1) return;
    ApplyPen();
    ApplyBrush();
    painter_.drawRoundedRect(OutlineRect(r), cornerWidth / 2.0, cornerHeight / 2.0);
}

void TCanvas::Ellipse(const TRect& r) {
    if (r.Right - r.Left < 1 || r.Bottom - r.Top < 1) return;
    ApplyPen();
    ApplyBrush();
    painter_.drawEllipse(OutlineRect(r));
}

void TCanvas::Arc(const TRect& r, QPoint start, QPoint end) {
    if (penNull_ || r.Right - r.Left < 1 || r.Bottom - r.Top < 1) return;
    const double a0 = RayAngle16(r, start);
    double span = RayAngle16(r, end) - a0;
    while (span <= 0) span += 360.0 * 16.0;
    ApplyPen();
    painter_.setBrush(Qt::NoBrush);
    painter_.drawArc(OutlineRect(r), int(std::lround(a0)), int(std::lround(span)));
}

void TCanvas::FillRegion(const QRegion& region, TColor color) {
    const QColor fill = ToQColor(color);
    for (const QRect& rect : region) painter_.fillRect(rect, fill);
}

void TCanvas::FillRegion(const QRegion& region, const QImage& pattern) {
    if (pattern.isNull()) return;
    const QBrush brush(pattern);  // tiles from the canvas origin
    for (const QRect& rect : region) painter_.fillRect(rect, brush);
}

void TCanvas::TextOut(int x, int y, const QString& text) {
    painter_.setFont(font_);
    painter_.setPen(ToQColor(fontColor_));
    const QFontMetrics metrics(font_);
    painter_.drawText(QPoint(x, y + metrics.ascent()), text);
}

int TCanvas::TextWidth(const QString& text) const { return QFontMetrics(font_).horizontalAdvance(text); }

int TCanvas::TextHeight(const QString&) const { return QFontMetrics(font_).height(); }

}  // namespace components
