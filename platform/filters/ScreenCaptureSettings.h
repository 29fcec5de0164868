// What the screen-capture filter takes from the 716-byte record, and the pictures that follow from it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/display/geometry.h"
#include "platform/filters/ScreenCaptureFilterParams.h"

namespace platform {

struct TScreenCaptureSettings {
    uint8_t CaptureMode = 0;
    std::string WindowClass, WindowCaption;
    // A window capture (mode 2 naming a class or caption): only that window's pixels are read.
    bool CapturesWindow = false;
    TRect Area;                // the capture rectangle, virtual-desktop pixels
    int OutWidth = 0;          // picture size on the output pin
    int OutHeight = 0;
    int FrameRate = 0;         // pictures per second
    bool CaptureMouse = false;
    bool SnapshotOutput = false;
    bool VideoOutput = false;
};

// Capture modes of the record: all monitors, or one monitor, a window or an area.
constexpr uint8_t kCaptureModeAllMonitors = 1;
constexpr uint8_t kCaptureModeSingle = 2;

constexpr int kMaxCaptureSide = 16384;
constexpr int kMaxFrameRate = 120;
constexpr int kDefaultFrameRate = 25;  // for a record without one

// Rounds up to the next multiple of 16 (sizes the encoder reads must be such multiples).
int RoundUpTo16(int value);

// The settings of a record, or none when it cannot be captured with (no positive size, sizes beyond
// kMaxCaptureSide). With OutWidth and OutHeight set, the rectangle Left, Top, Width, Height is scaled to
// that size rounded up to multiples of 16; without them the rectangle itself grows to multiples of 16
// and is the picture. A frame rate outside 1..kMaxFrameRate becomes kDefaultFrameRate.
std::optional<TScreenCaptureSettings> ReadScreenCaptureSettings(const TScreenCaptureFilterParams& record);

}  // namespace platform
