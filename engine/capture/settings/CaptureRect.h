// The part of the desktop a capture job captures and the size of the pictures it hands to libVLC:
// the capture rectangle per source kind, the window that is followed by class and caption, the sanity
// checks made when a job is prepared, the scale table and the rounding to multiples of 16.
// Monitors and windows come from the process-wide display (platform::CurrentDisplay).
//
// What is worked out here lives in the job (TCaptureGeometry), never in its stored settings: the
// settings name the source, the geometry says where it is now.
#pragma once

#include <optional>
#include <string>

#include "engine/capture/settings/CaptureLog.h"
#include "engine/capture/settings/ScreenCaptureParams.h"
#include "platform/display/display.h"
#include "platform/display/geometry.h"

namespace engine {

// Where the followed window stands, as last said in the log: shown, hidden (it exists but is not on
// screen: unmapped, minimised, hidden into a tray) or not found (never found, or gone).
enum class TWindowState : uint8_t { Unknown, Shown, Hidden, NotFound };

// The window a window capture follows, as the job last found it by its class and caption.
struct TFollowedWindow {
    platform::WindowId Handle = platform::kNoWindow;
    int32_t Left = 0;  // the window's last known rectangle
    int32_t Top = 0;
    int32_t Width = 100;
    int32_t Height = 100;
    TWindowState ReportedState = TWindowState::Unknown;
    // The window's screen rectangle when it was last seen shown; a hidden or gone window is captured
    // as black pictures of this size.
    std::optional<platform::TRect> LastShownRect;
};

// What a capture job works out of its settings: the followed window, the source rectangle and the
// sizes of the pictures, all zero until the first CalcCaptureRect.
struct TCaptureGeometry {
    TFollowedWindow Window;
    platform::TRect CaptureRect;
    int32_t RectWidth = 0;     // of CaptureRect
    int32_t RectHeight = 0;
    int32_t FrameWidth = 0;    // size of the raw picture
    int32_t FrameHeight = 0;
    int32_t ScaledWidth = 0;   // size after the capture filter scaled; 0 when it does not
    int32_t ScaledHeight = 0;
};

constexpr int32_t kFrameSizeStep = 16;   // picture sizes are multiples of this
constexpr int32_t kMinFrameSize = 16;    // the smallest picture libVLC is asked to read
constexpr int32_t kDefaultAreaSize = 200;

// The scale factor of vidScale: its percentage (100 for an unknown index), its text for the capture
// graph's transcoder ("1.0", "0.5"; only the low seven bits are looked at) and its text for method 0.
int ScalePercent(uint8_t vidScale);
std::string ScaleIndexToStr(uint8_t index);
std::string Method0ScaleText(uint8_t vidScale);

// Refreshes the followed window from the window found by window's class and caption; true when the
// window captured so far is still shown with the same rectangle, or is hidden or gone (its last size
// stays). A window keeps its handle while it exists, shown or not; a new one is searched only among
// the windows a person sees. A class or caption of the found window that changed is taken into window,
// so it is found again by the names it has now. With a log, every change between shown, hidden and not
// found is said once.
bool UpdateWindowRect(TCaptureWindow& window, TFollowedWindow& followed, const CaptureLog& log = nullptr);
// True while the followed window is on screen (not hidden, not gone).
bool WindowShown(const TFollowedWindow& followed);
// Why a window capture cannot start safely, or "" when it can: a capture that names no window could
// only show the desktop, and libVLC, which reads the screen itself, cannot black out a window that is
// not shown.
std::string WindowCaptureRefusal(const TScreenCaptureParams& params, const TFollowedWindow& followed);
// When the followed window is gone and none of window's class and caption exists, its rectangle
// becomes 0,0,100,100.
void FindCaptureWindow(const TCaptureWindow& window, TFollowedWindow& followed);
// Corrects an impossible monitor number or area, with an error line.
void CheckParams(TScreenCaptureParams& params, const CaptureLog& log);
// Computes geometry's CaptureRect, RectWidth/Height, FrameWidth/Height and ScaledWidth/Height from
// params. A window is searched again first (UpdateWindowRect); a hidden or gone window keeps its last
// rectangle, a window never seen gives the primary screen's (the capture graph publishes black
// pictures for both).
void CalcCaptureRect(TScreenCaptureParams& params, TCaptureGeometry& geometry, const CaptureLog& log);

}  // namespace engine
