#include "app/mainform/ScreenSnap.h"

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

}  // namespace app
