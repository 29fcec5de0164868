#include "components/ShapeRegion.h"

#include <QPainterPath>
#include <QPolygon>

namespace components {

QRegion RectRegion(const TRect& r) {
    if (r.Right <= r.Left || r.Bottom <= r.Top) return QRegion();
    return QRegion(r.ToQRect());
}

QRegion EllipticRegion(const TRect& r) {
    if (r.Right <= r.Left || r.Bottom <= r.Top) return QRegion();
    return QRegion(r.ToQRect(), QRegion::Ellipse);
}

QRegion RoundRectRegion(const TRect& r, int cornerWidth, int cornerHeight) {
    if (r.Right <= r.Left || r.Bottom <= r.Top) return QRegion();
    QPainterPath path;
    path.addRoundedRect(QRectF(r.ToQRect()), cornerWidth / 2.0, cornerHeight / 2.0);
    return QRegion(path.toFillPolygon().toPolygon(), Qt::WindingFill);
}

QRegion PolygonRegion(std::span<const QPoint> points, bool winding) {
    return QRegion(QPolygon(QList<QPoint>(points.begin(), points.end())), winding ? Qt::WindingFill : Qt::OddEvenFill);
}

QRegion ShapeRegion(const TRect& r, TPanelShape shape, int edgeX, int edgeY) {
    switch (shape) {
    case psRect:
        return RectRegion(r);
    case psRoundRect:
        return RoundRectRegion(r.Extended(1, 1), edgeX, edgeY);
    case psEllipse:
        return EllipticRegion(r.Extended(1, 1));
    }
    return QRegion();
}

}  // namespace components
