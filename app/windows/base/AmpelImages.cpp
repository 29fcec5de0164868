#include "app/windows/base/AmpelImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>

namespace app {
namespace {

constexpr int kImageSizePx = 16;

QPixmap Ball(const QColor& colour) {
    QPixmap pixmap(kImageSizePx, kImageSizePx);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient gradient(5, 5, 10);
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, colour);
    painter.setBrush(gradient);
    painter.setPen(colour.darker(150));
    painter.drawEllipse(1, 1, kImageSizePx - 3, kImageSizePx - 3);
    return pixmap;
}

QPixmap Stroke(const QColor& colour, const QPainterPath& path, qreal width) {
    QPixmap pixmap(kImageSizePx, kImageSizePx);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    return pixmap;
}

std::array<QIcon, kAmpelImageCount> MakeImages() {
    QPainterPath cross;
    cross.moveTo(3, 3);
    cross.lineTo(13, 13);
    cross.moveTo(13, 3);
    cross.lineTo(3, 13);
    QPainterPath tick;
    tick.moveTo(2, 8);
    tick.lineTo(6, 12);
    tick.lineTo(14, 3);
    QPainterPath bar;
    bar.moveTo(3, 8);
    bar.lineTo(13, 8);
    return {QIcon(Ball(QColor(0xF0, 0xF0, 0xF0))), QIcon(Ball(Qt::red)),       QIcon(Ball(Qt::yellow)),
            QIcon(Ball(QColor(0x00, 0xC0, 0x00))), QIcon(Stroke(Qt::red, cross, 2.5)),
            QIcon(Stroke(QColor(0x00, 0xA0, 0x00), tick, 2.5)), QIcon(Stroke(Qt::red, bar, 3.5))};
}

}  // namespace

QIcon AmpelImage(int index) {
    // Kept for the whole run: pixmaps must not outlive the application object at exit.
    static const auto* images = new std::array<QIcon, kAmpelImageCount>(MakeImages());
    if (index < 0 || index >= kAmpelImageCount) return QIcon();
    return (*images)[static_cast<size_t>(index)];
}

}  // namespace app
