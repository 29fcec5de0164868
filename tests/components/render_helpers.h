// Rendering a control into an image and reading its pixels as 0x00BBGGRR colours.
#pragma once

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "components/Canvas.h"
#include "components/Color.h"
#include "components/GradientPaint.h"

namespace fw_test {

// The widget (and its children) as painted now; pixels it leaves unpainted stay magenta.
inline QImage Render(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

inline components::TColor PixelAt(const QImage& image, int x, int y) {
    return components::FromQColor(image.pixelColor(x, y));
}

constexpr components::TColor kUnpainted = 0xFF00FF;

// A symmetric gradient as a control composed in its parent paints it: GradientFill over the control's
// place in the parent's coordinates, cut to that place.
inline QImage SymmetricGradientAt(const QRect& place, components::TColor color1, components::TColor color2,
                                  components::TGradStyle style) {
    QImage parent(place.right() + 1, place.bottom() + 1, QImage::Format_RGB32);
    parent.fill(QColor(255, 0, 255));
    {
        QPainter painter(&parent);
        components::TCanvas canvas(painter);
        components::GradientFill(canvas, components::TRect::FromQRect(place), color1, color2, style, true);
    }
    return parent.copy(place);
}

}  // namespace fw_test
