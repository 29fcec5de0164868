// Screen geometry in virtual-desktop pixels: the primary monitor's top-left corner is 0,0, other
// monitors may lie at negative coordinates. A rectangle's right and bottom edges are outside it.
#pragma once

#include <algorithm>

namespace platform {

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;   // exclusive
    int Bottom = 0;  // exclusive

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    // Left and top edges inside, right and bottom edges outside.
    bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    // The common part of two rectangles; empty (all zero) when they do not overlap.
    TRect Intersection(const TRect& o) const {
        TRect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right), std::min(Bottom, o.Bottom)};
        return r.IsEmpty() ? TRect{} : r;
    }
    bool Intersects(const TRect& o) const { return !Intersection(o).IsEmpty(); }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect MakeRect(int left, int top, int width, int height) {
    return TRect{left, top, left + width, top + height};
}

}  // namespace platform
