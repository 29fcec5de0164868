// Outlines of the bevelled controls (coloured frames, colour button): the octagon with cut corners,
// the inner octagon a band width inside it, and the outline region of each bevel shape.
#pragma once

#include <QPoint>
#include <QRegion>
#include <array>

#include "components/BevelTypes.h"
#include "components/Rect.h"

namespace components {

using TOctagon = std::array<QPoint, 8>;

// Corners cut by edge pixels; the two lower corners one pixel longer than the upper ones.
TOctagon OuterOctagon(const TRect& client, int edge);
// Straight sides bandWidth inside the outer ones; the cut corners move in by half of it along each axis.
TOctagon InnerOctagon(const TRect& client, int edge, int bandWidth);

// The region of the shape over rect: the rectangle, the given octagon (winding fill) for the two polygon
// shapes, the ellipse bounded by rect, or the rounded rectangle with an edge x edge corner ellipse. The
// variable shape has none here (the colour button builds its own).
QRegion BevelShapeRegion(const TRect& rect, TBevelShape shape, int edge, const TOctagon& octagon);

}  // namespace components
