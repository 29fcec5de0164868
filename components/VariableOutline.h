// The variable outline of the colour button: a left and a right side form (straight, triangular or
// diagonal, each convex or concave) joined by straight top and bottom edges, and its rings. A closed
// side draws its own edge (the left one in the upper-left colour, the right one in the lower-right
// colour); an open side leaves the edge undrawn and only continues the top and bottom lines toward it.
#pragma once

#include <QPoint>
#include <cstdint>
#include <vector>

#include "components/BevelBandPainter.h"
#include "components/Rect.h"

namespace components {

class TCanvas;

enum TColorButtonSideForm : uint8_t { fdRect, fdTriangle, fdDiagonal };
enum TColorButtonSideStyle : uint8_t { fdConvex, fdConcave };
enum TColorButtonSideColor : uint8_t { fdOpen, fdClosed };

struct TButtonSide {
    TColorButtonSideForm form = fdRect;
    TColorButtonSideStyle style = fdConvex;
    TColorButtonSideColor edge = fdClosed;
};

struct TVariableShape {
    TButtonSide left;
    TButtonSide right;
    int edge = 0;        // how far the pointed or slanted ends reach in, in pixels
    int halfHeight = 0;  // the control's height div 2: where the triangle points sit
    int bandWidth = 0;   // the face band's width in rings
};

// The outline over client: the left side's points from bottom to top, then the right side's from top
// to bottom (to be filled with the winding rule). Whether a side is open does not change it.
std::vector<QPoint> VariableOutline(const TRect& client, const TVariableShape& shape);

// Ring ring.k of a band (the hook of TBevelBandPainter): the left part, the right part, then the top
// line in the ring's colour and the bottom line in the lower-right colour (every line in the ring's
// colour when the band is a gradient).
void DrawVariableRing(TCanvas& canvas, const TBandRing& ring, const TVariableShape& shape);

}  // namespace components
