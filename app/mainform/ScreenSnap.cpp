#include "app/mainform/ScreenSnap.h"

#include <algorithm>
#include <cstdlib>

namespace app {
namespace {

bool Near(int a, int b) { return std::abs(a - b) < kScreenSnapDistancePx; }

}  // namespace

platform::TPoint SnapToEdges(const platform::TRect& window, const platform::TRect& area) {
    platform::TPoint origin{window.Left, window.Top};
    if (Near(window.Right, area.Right)) origin.X = area.Right - window.Width();
    if (Near(window.Left, area.Left)) origin.X = area.Left;
    if (Near(window.Bottom, area.Bottom)) origin.Y = area.Bottom - window.Height();
    if (Near(window.Top, area.Top)) origin.Y = area.Top;
    return origin;
}

platform::TRect FitIntoArea(const platform::TRect& window, const platform::TRect& area) {
    const int height = std::min(window.Height(), area.Height());
    const int left = std::max(area.Left, std::min(window.Left, area.Right - window.Width()));
    const int top = std::max(area.Top, std::min(window.Top, area.Bottom - height));
    return platform::MakeRect(left, top, window.Width(), height);
}

int HeightToFit(int top, int wanted, int least, const platform::TRect& area) {
    return std::max(least, std::min(wanted, area.Bottom - top));
}

}  // namespace app
