// Rendering a control into an image and reading its pixels as 0x00BBGGRR colours.
#pragma once

#include <QImage>
#include <QWidget>

#include "components/Color.h"

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

}  // namespace fw_test
