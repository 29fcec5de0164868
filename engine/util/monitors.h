// Questions about the monitor layout, asked afresh of the process-wide display at every call (an added
// or removed monitor is seen at once). Monitors are numbered from 1 in the display's enumeration
// order; that number is what capture settings, splash.ini and saved window positions store.
#pragma once

#include <optional>

#include "platform/display/display.h"

namespace engine {

using platform::TMonitorInfo;
using platform::TPoint;
using platform::TRect;

int GetMonitorCount();

// Monitor number index (1-based); none outside 1 .. count.
std::optional<TMonitorInfo> GetMonitorInfoByIndex(int index);

// The first monitor (in number order) whose rectangle holds the point (right and bottom edges
// outside); 1 when none does, also when there are no monitors.
int GetMonitorIndexAt(int x, int y);

// Top-left corner of a width x height box centred on monitor number monitor (a number above the
// count means monitor 1). Boxes larger than the monitor and monitors left of or above the primary
// follow the original arithmetic (see the .cpp). 0,0 when no monitor exists.
TPoint GetMonitorCenterPos(int monitor, int width, int height);

// Union of all monitor rectangles, each edge taken against a starting 0 (Left and Top are never above
// 0, Right and Bottom never below 0); Width = |Left| + |Right|, Height = |Top| + |Bottom|.
struct TDesktopBounds {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width = 0;
    int Height = 0;
};
TDesktopBounds GetDesktopBounds();
int GetDesktopLeft();
int GetDesktopTop();
int GetDesktopRight();
int GetDesktopBottom();

// Work area of the monitor that holds pt, else of the monitor nearest to it; none without monitors.
std::optional<TRect> GetNearestMonitorWorkArea(TPoint pt);

}  // namespace engine
