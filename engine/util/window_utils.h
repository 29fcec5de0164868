// Window questions of the coloured frames and the hard exits, answered through the process-wide
// display (platform/display). Window ids are the display's (kNoWindow for none).
#pragma once

#include "platform/display/display.h"

namespace engine {

using platform::TPoint;
using platform::WindowId;

// True at the first window above w in the stacking order that is visible and overlaps w.
bool IsWindowCovered(WindowId w);
// True when a visible window above w overlaps w in a part that holds pt (right and bottom edges excluded).
bool IsWindowPointCovered(WindowId w, TPoint pt);
// The highest window of w's parent chain that still has a parent (w itself when it has none).
WindowId GetTopParentWindow(WindowId w);

// Ends the process that owns w at once, without clean-up. False when w is no window or its owner is
// unknown or cannot be ended. Does not return when w belongs to the calling process.
bool KillWindowProcess(WindowId w);
// The hard exit of the main window: as KillWindowProcess without the window test; when the display
// cannot name the owner, the caller is taken as the owner (its own application window). Does not
// return to a caller that passes its own window.
void TerminateWindowOwner(WindowId w);

// The exit status of a process ended this way: the platform's "still active" code 259 in the 8 bits
// an exit status holds.
constexpr int kKilledProcessExitCode = 259 & 0xFF;

}  // namespace engine
