// The part of the desktop a capture job captures and the size of the pictures it hands to libVLC:
// the capture rectangle per source kind, the window that is followed by class and caption, the sanity
// checks made when a job is prepared, the scale table and the rounding to multiples of 16.
// Monitors and windows come from the process-wide display (platform::CurrentDisplay).
#pragma once

#include <string>

#include "engine/capture/settings/CaptureLog.h"
#include "engine/capture/settings/ScreenCaptureParams.h"

namespace engine {

constexpr int32_t kFrameSizeStep = 16;   // picture sizes are multiples of this
constexpr int32_t kMinFrameSize = 16;    // the smallest picture libVLC is asked to read
constexpr int32_t kDefaultAreaSize = 200;

// The scale factor of vidScale: its percentage (100 for an unknown index), its text for the capture
// graph's transcoder ("1.0", "0.5"; only the low seven bits are looked at) and its text for method 0.
int ScalePercent(uint8_t vidScale);
std::string ScaleIndexToStr(uint8_t index);
std::string Method0ScaleText(uint8_t vidScale);

// Refreshes the window fields from the window found by class and caption; true when the window
// captured so far is still shown with the same rectangle, or is hidden or gone (its last size stays).
// A window keeps its handle while it exists, shown or not; a new one is searched only among the
// windows a person sees. With a log, every change between shown, hidden and not found is said once.
bool UpdateWindowRect(TCaptureWindow& window, const CaptureLog& log = nullptr);
// True while the followed window is on screen (not hidden, not gone).
bool WindowShown(const TCaptureWindow& window);
// Why a window capture cannot start safely, or "" when it can: a capture that names no window could
// only show the desktop, and libVLC, which reads the screen itself, cannot black out a window that is
// not shown.
std::string WindowCaptureRefusal(const TScreenCaptureParams& params);
// When the window is gone and none of its class and caption exists, its rectangle becomes 0,0,100,100.
void FindCaptureWindow(TCaptureWindow& window);
// Corrects an impossible monitor number or area, with an error line.
void CheckParams(TScreenCaptureParams& params, const CaptureLog& log);
// Computes CaptureRect, RectWidth/Height, FrameWidth/Height and ScaledWidth/Height. A window is
// searched again first (UpdateWindowRect); a hidden or gone window keeps its last rectangle, a window
// never seen gives the primary screen's (the capture graph publishes black pictures for both).
void CalcCaptureRect(TScreenCaptureParams& params, const CaptureLog& log);

}  // namespace engine
