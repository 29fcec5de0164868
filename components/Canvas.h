// A drawing surface with the conventions the controls' painting code is written for: a current pen
// (colour, width, or none) and brush (colour, or hollow), a current pen position, lines drawn without
// their end point, rectangles and ellipses over (Left, Top, Right, Bottom) with the right and bottom
// edges exclusive, and region fills with a colour or a pattern image aligned to the canvas origin.
// It draws through a QPainter that the caller owns (aliased, no transformation beyond its own).
#pragma once

#include <QFont>
#include <QPoint>
#include <QString>
#include <span>

#include "components/Color.h"
#include "components/Rect.h"

class QImage;
class QPainter;
class QRegion;

namespace components {

class TCanvas {
public:
    explicit TCanvas(QPainter& painter);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    QPainter& Painter() { return painter_; }

    // Pen and brush. A new canvas has a black pen of width 1 and a solid white brush.
    void SetPen(TColor color, int width = 1);
    void SetPenColor(TColor color) { penColor_ = color; }
    void SetPenWidth(int width) { penWidth_ = width < 1 ? 1 : width; }
    void SetNullPen() { penNull_ = true; }
    TColor PenColor() const { return penColor_; }
    int PenWidth() const { return penWidth_; }
    bool PenNull() const { return penNull_; }
    void SetBrush(TColor color);
    void SetHollowBrush() { brushHollow_ = true; }
    TColor BrushColor() const { return brushColor_; }
    bool BrushHollow() const { return brushHollow_; }

    QPoint PenPos() const { return penPos_; }
    void MoveTo(int x, int y) { penPos_ = QPoint(x, y); }
    // A line from the pen position to (x, y), without (x, y) itself; the pen position becomes (x, y).
    void LineTo(int x, int y);
    // Lines through the points in turn, the last point not drawn; the pen position is not used or changed.
    void Polyline(std::span<const QPoint> points);
    // Filled with the brush by the given rule, outlined with the pen.
    void Polygon(std::span<const QPoint> points, bool winding = false);

    void FillRect(const TRect& r, TColor color);
    void FillRect(const TRect& r);  // with the current brush (nothing when hollow)
    // Outline in the pen (a wide pen centred on the outermost pixel ring), inside in the brush.
    void Rectangle(const TRect& r);
    void RoundRect(const TRect& r, int cornerWidth, int cornerHeight);
    void Ellipse(const TRect& r);
    // The part of the ellipse bounded by r from the ray through start counter-clockwise to the ray
    // through end (the whole ellipse when both rays coincide), in the pen.
    void Arc(const TRect& r, QPoint start, QPoint end);

    void FillRegion(const QRegion& region, TColor color);
    // Fills the region with the image, tiled from the canvas origin.
    void FillRegion(const QRegion& region, const QImage& pattern);

    // Text is drawn without background, its top-left at (x, y).
    void SetFont(const QFont& font) { font_ = font; }
    const QFont& Font() const { return font_; }
    void SetFontColor(TColor color) { fontColor_ = color; }
    TColor FontColor() const { return fontColor_; }
    void TextOut(int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;

private:
    void ApplyPen();
    void ApplyBrush();

    QPainter& painter_;
    TColor penColor_ = clBlack;
    int penWidth_ = 1;
    bool penNull_ = false;
    TColor brushColor_ = clWhite;
    bool brushHollow_ = false;
    QPoint penPos_;
    QFont font_;
    TColor fontColor_ = clBlack;
};

}  // namespace components
