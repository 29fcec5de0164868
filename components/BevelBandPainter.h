// Paints the bands of a bevelled control as concentric one-pixel rings: a band is n rings from colour A
// toward colour B (a ramp when gradient, else A on the upper-left half and B on the lower-right half).
// Rectangle, ellipse and rounded-rectangle rings follow a working rectangle that shrinks by one pixel per
// ring; polygon rings are numbered by a ring counter that runs through all bands of one pass, so later
// bands continue inward where earlier ones stopped. While a band is drawn, the right and bottom edges
// sit one pixel in, so rings fall on the last pixel column and row. A variable outline has no rings of
// its own: its owner draws them through the variable-ring hook, numbered like the polygon rings.
#pragma once

#include <functional>
#include <utility>

#include "components/BevelTypes.h"
#include "components/Canvas.h"
#include "components/Color.h"
#include "components/Rect.h"

namespace components {

struct TBandRing {
    TRect rect;     // the working rectangle, right and bottom already one pixel in
    int k;          // the ring's number in the pass
    int i;          // the ring's index within its band
    bool gradient;
    TColor colorB;  // the lower-right colour of a two-coloured ring
    TColor color;   // the ring's own colour: its ramp step with gradient, else the upper-left colour A
};

// Draws one ring of a variable outline; the pen already has the ring's colour and width 1.
using TVariableRingHook = std::function<void(TCanvas& canvas, const TBandRing& ring)>;

class TBevelBandPainter {
public:
    TBevelBandPainter(TCanvas& canvas, const TRect& client, TBevelShape shape, int edge);

    // n rings; border marks the border line's band (its rounded-rectangle rings are 3 pixels from the first).
    void Band(TColor a, TColor b, int n, bool gradient, bool border = false);

    // The rings of a variable outline; without a hook it has none.
    void SetVariableRingHook(TVariableRingHook hook) { variableRing_ = std::move(hook); }
    // Rounded-rectangle rings fill with the canvas's current brush instead of leaving the inside alone.
    void SetRoundRectRingsKeepBrush(bool keep) { roundRectKeepsBrush_ = keep; }

    int RingCounter() const { return ringCounter_; }
    const TRect& WorkingRect() const { return rect_; }

private:
    void RectRing(const TBandRing& ring, TColor color);
    void EllipseRing(const TBandRing& ring, int n);
    void RoundRectRing(const TBandRing& ring, bool border);
    void PolygonRing(const TBandRing& ring);
    void Line(int x0, int y0, int x1, int y1);

    TCanvas& canvas_;
    TRect rect_;
    TBevelShape shape_;
    int edge_;
    int ringCounter_ = 0;
    TVariableRingHook variableRing_;
    bool roundRectKeepsBrush_ = false;
};

}  // namespace components
