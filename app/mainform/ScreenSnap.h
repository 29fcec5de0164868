// The main window snaps to the edges of its monitor's work area: an edge that comes nearer to the
// area's edge than kScreenSnapDistancePx is put onto it, as the user drags the window or the program
// places it. A window that grows is kept inside the area: moved up first, and cut where it is taller.
#pragma once

#include "platform/display/geometry.h"

namespace app {

constexpr int kScreenSnapDistancePx = 10;

// Where the top-left corner of window goes: each of its edges less than kScreenSnapDistancePx from the
// same edge of area lies on it; the left and top edges win over the right and bottom ones.
platform::TPoint SnapToEdges(const platform::TRect& window, const platform::TRect& area);

// Where window goes to lie inside area: moved up and left as far as needed (never above or left of the
// area's edges), then cut at its bottom where it is still taller than the area. Its width stays.
platform::TRect FitIntoArea(const platform::TRect& window, const platform::TRect& area);

// The height of a window whose top lies at top, so that its bottom stays inside area: wanted, cut to
// the room left below top, but never less than least.
int HeightToFit(int top, int wanted, int least, const platform::TRect& area);

}  // namespace app
