// A rectangle as the painting routines think of it: Left, Top, Right, Bottom in pixels, the right
// and bottom edges exclusive.
#pragma once

#include <QRect>
#include <cstdlib>

namespace components {

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return std::abs(Right - Left); }
    constexpr int Height() const { return std::abs(Bottom - Top); }
    // Moves every edge inward by d (outward when d is negative).
    constexpr TRect Shrunk(int d) const { return {Left + d, Top + d, Right - d, Bottom - d}; }
    constexpr void Shrink(int d) { *this = Shrunk(d); }
    constexpr TRect Extended(int right, int bottom) const { return {Left, Top, Right + right, Bottom + bottom}; }
    QRect ToQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
    static TRect FromQRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }
    constexpr bool operator==(const TRect&) const = default;
};

}  // namespace components
