// The painting steps that the bevel label and the LED share. Both compose themselves in a work image
// (transparent colour kLabelTransparentColor) and then copy it to the screen through their shape
// region, so nothing outside the shape is painted.
#pragma once

#include <QImage>
#include <QSize>

#include "components/BevelProp.h"
#include "components/BorderProp.h"
#include "components/Canvas.h"
#include "components/Color.h"
#include "components/GraphTypes.h"
#include "components/Rect.h"
#include "components/ShapeProperty.h"

class QPainter;
class QWidget;

namespace components {

constexpr TColor kLabelTransparentColor = 0xFF00FE;

// A work image of the given size filled with the transparent colour.
QImage NewWorkImage(QSize size);

// Sets up the painter of control's work image so that the control is composed where it sits in its
// parent, in the parent's coordinates: a symmetric gradient splits by the parity of the parent's rows
// and columns, not of the control's own. Returns the control's bounds there.
TRect ComposeInParentCoordinates(QPainter& workPainter, const QWidget& control);

// Border ring, when the border has a width: the shape of b (extended by one to the right and bottom)
// in the border colour; b then shrinks by the width.
void PaintShapeBorder(TCanvas& canvas, TRect& b, const TShapeProperty& shape, const TBorderProp& border);

struct TShapeFill {
    TFillKind Kind = fkNone;
    TGradStyle Style = gsVertical;
    TColor Solid = clBlack;  // fkNone
    TColor Color1 = clBlack;  // gradient kinds
    TColor Color2 = clBlack;
    int RingCount = 0;  // gs3D: rings from Color1 outside to Color2 inside
    int StartStep = 0;  // gs3D: the ring step to start from
};

// Background inside b: flat, concentric rings (gs3D) or a gradient. The rings take b's right and
// bottom edges in by one pixel, for the rings and for every step painted after them.
void PaintShapeFill(TCanvas& canvas, TRect& b, const TShapeProperty& shape, const TShapeFill& fill);

// A 3D frame of bpWidth one-pixel rings, shrinking b as it goes (nothing for bsNone or width 0).
void PaintBevel(TCanvas& canvas, TRect& b, const TBevelProp& bevel);

// Copies the work image onto the painter through the shape region of the client rectangle.
void PaintThroughShape(QPainter& painter, const QImage& work, const TShapeProperty& shape);

}  // namespace components
