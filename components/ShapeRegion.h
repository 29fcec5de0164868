// Regions of the outline shapes, as the controls clip their painting and shape their windows.
#pragma once

#include <QPoint>
#include <QRegion>
#include <span>

#include "components/GraphTypes.h"
#include "components/Rect.h"

namespace components {

QRegion RectRegion(const TRect& r);
QRegion EllipticRegion(const TRect& r);
// Corner ellipse cornerWidth x cornerHeight.
QRegion RoundRectRegion(const TRect& r, int cornerWidth, int cornerHeight);
QRegion PolygonRegion(std::span<const QPoint> points, bool winding);

// Rectangle exactly r; rounded rectangle (corner edgeX x edgeY) and ellipse over r extended by one
// pixel to the right and bottom, as the painting code builds them.
QRegion ShapeRegion(const TRect& r, TPanelShape shape, int edgeX, int edgeY);

}  // namespace components
