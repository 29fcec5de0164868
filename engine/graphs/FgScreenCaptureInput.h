// What the capture job hands to its screen capture graph: the settings of the screen-capture filter and
// the graph's own creation parameters.
#pragma once

#include <cstdint>
#include <string>

#include "platform/filters/ScreenCaptureFilterParams.h"

namespace engine {

struct TFgScreenCaptureInput {
    uint8_t CaptureMode = 0;  // 1 all monitors, 2 one monitor, a window or an area
    std::string WindowClass;
    std::string WindowCaption;
    int32_t Left = 0, Top = 0;          // virtual-desktop pixels
    int32_t Width = 0, Height = 0;      // the capture rectangle's size, multiples of 16
    int32_t OutWidth = 0, OutHeight = 0;  // scaled output size when pre-scaling, else 0
    int32_t FrameRate = 0;
    int32_t ScalePercent = 100;
    int32_t MonitorNo = 0;
    uint8_t CaptureMouse = 0;
    uint8_t PixelFormat = 0;
    uint8_t SnapshotOutput = 0;
    int32_t ImageFreq = 0;
    uint8_t TimeDisplayActive = 0;
    int32_t TimeDisplayPos = 0;
    std::string TimeDisplayFont;
    int32_t TimeDisplaySize = 0, TimeDisplayColor = 0;
    uint8_t TimeDisplayBold = 0;
    int32_t TimeDisplayBkColor = 0;
    uint8_t TimeDisplayTransparent = 0;
    int32_t Reserved1 = 0, Reserved2 = 0, Reserved3 = 0, Reserved4 = 0;
    uint8_t VideoOutput = 0;
};

// The 716-byte record of these settings. Texts longer than their field are cut on a UTF-8 character
// boundary; the reserved integers are always written as 0.
TScreenCaptureFilterParams PackScreenCaptureFilterParams(const TFgScreenCaptureInput& in);

}  // namespace engine
