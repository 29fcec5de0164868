// Concentric one-pixel rings from an outer colour to an inner one, for rectangles, rounded rectangles
// and ellipses (the shaded "3D" look of the labels and LEDs).
#pragma once

#include "components/Canvas.h"
#include "components/Color.h"
#include "components/GraphTypes.h"
#include "components/Rect.h"

namespace components {

// count rings starting on rect and shrinking by one pixel each; ring i takes step startStep + i of the
// ramp from color1 to color2 and the last ring color2. Rounded rectangles and ellipses are drawn with a
// 4-pixel pen and filled with the canvas's current brush. With shrink the right and bottom edges first
// move in by one pixel. The caller's rect is not changed.
void DrawShapeRings(TCanvas& canvas, TRect rect, TColor color1, TColor color2, int count, int edge,
                    TPanelShape shape, int startStep, bool shrink);

}  // namespace components
