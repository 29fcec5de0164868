// The argument list a capture job hands to libvlc_new, made from its settings and what it worked out
// of them (the picture size, the followed window).
#pragma once

#include <string>
#include <vector>

#include "engine/capture/settings/CaptureRect.h"
#include "engine/capture/settings/ScreenCaptureParams.h"

namespace engine {

// The frame rate libVLC is told: vidFrameRate kept within 1 .. 100 whatever the settings hold.
int32_t ClampedFrameRate(int32_t vidFrameRate);

// Common arguments, then those of the capture method (raw pictures from the capture graph for
// method 1, the screen or a UDP transport stream for method 0, nothing more for method 2).
std::vector<std::string> BuildVlcArguments(const TScreenCaptureParams& params, const TCaptureGeometry& geometry);

}  // namespace engine
