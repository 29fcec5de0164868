#include "components/BevelOutline.h"

#include "components/ShapeRegion.h"

namespace components {

TOctagon OuterOctagon(const TRect& c, int e) {
    return {QPoint(c.Left, c.Bottom - e - 1), QPoint(c.Left, c.Top + e),          QPoint(c.Left + e, c.Top),
            QPoint(c.Right - e, c.Top),       QPoint(c.Right, c.Top + e),         QPoint(c.Right, c.Bottom - e - 1),
            QPoint(c.Right - e - 1, c.Bottom), QPoint(c.Left + e + 1, c.Bottom)};
}

TOctagon InnerOctagon(const TRect& c, int e, int a) {
    const int f = a / 2;
    return {QPoint(c.Left + a, c.Bottom - e - 1 - f),     QPoint(c.Left + a, c.Top + e + f),
            QPoint(c.Left + e + f, c.Top + a),            QPoint(c.Right - e - f, c.Top + a),
            QPoint(c.Right - a, c.Top + e + f),           QPoint(c.Right - a, c.Bottom - e - 1 - f),
            QPoint(c.Right - e - 1 - f, c.Bottom - a),    QPoint(c.Left + e + 1 + f, c.Bottom - a)};
}

QRegion BevelShapeRegion(const TRect& rect, TBevelShape shape, int edge, const TOctagon& octagon) {
    switch (shape) {
    case bsRect:
        return RectRegion(rect);
    case bsPolyButton:
    case bsPolyBevel:
        return PolygonRegion(octagon, true);
    case bsRound:
        return EllipticRegion(rect);
    case bsRoundRect:
        return RoundRectRegion(rect, edge, edge);
    case bsVariable:
        break;
    }
    return QRegion();
}

}  // namespace components
