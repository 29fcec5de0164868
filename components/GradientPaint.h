// The gradient painter: a rectangle painted from one colour to another in one of eleven styles, as 256
// bands (or concentric rectangles, or lines to the centre), optionally mirrored about the middle.
#pragma once

#include "components/Canvas.h"
#include "components/Color.h"
#include "components/GraphTypes.h"
#include "components/Rect.h"

namespace components {

constexpr int kGradientSteps = 256;

// Paints rect from color1 to color2. gs3D paints nothing (the controls draw it as rings).
void PaintGradient(TCanvas& canvas, const TRect& rect, TColor color1, TColor color2, TGradStyle style);

// The controls' entry point: plain, or symmetric (each half painted toward the middle and back).
void GradientFill(TCanvas& canvas, const TRect& rect, TColor color1, TColor color2, TGradStyle style,
                  bool symmetric);

}  // namespace components
