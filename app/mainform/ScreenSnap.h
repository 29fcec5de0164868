// The main window snaps to the edges of its monitor's work area: an edge that comes nearer to the
// area's edge than kScreenSnapDistancePx is put onto it, as the user drags the window or the program
// places it.
#pragma once

#include "platform/display/geometry.h"

namespace app {

constexpr int kScreenSnapDistancePx = 10;

// Where the top-left corner of window goes: each of its edges less than kScreenSnapDistancePx from the
// same edge of area lies on it; the left and top edges win over the right and bottom ones.
platform::TPoint SnapToEdges(const platform::TRect& window, const platform::TRect& area);

}  // namespace app
