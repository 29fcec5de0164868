// Makes one output picture of the screen-capture filter: the capture area from the screen source,
// scaled (nearest pixel) to the output size when the two differ. Not thread-safe: one caller at a time.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/filters/ScreenCaptureSettings.h"
#include "platform/filters/ScreenSource.h"

namespace platform {

class TCaptureFrameBuilder {
public:
    TCaptureFrameBuilder(IScreenSource& source, const TScreenCaptureSettings& settings);

    size_t FrameBytes() const { return static_cast<size_t>(settings_.OutWidth) * settings_.OutHeight * 4; }
    // Writes FrameBytes() bytes of RGB32, rows in the given order, of which only the part `readable`
    // of the capture area (desktop pixels) comes from the screen, the rest black; false when the
    // screen could not be read (the picture is then black).
    bool Fill(uint8_t* frame, TRowOrder order, const TRect& readable);
    const TRect& Area() const { return settings_.Area; }

private:
    IScreenSource& source_;
    TScreenCaptureSettings settings_;
    std::vector<uint8_t> scratch_;  // the unscaled area when scaling
};

// Nearest-pixel scaling between two RGB32 pictures of the same row order.
void ScaleRgb32(const uint8_t* src, int srcWidth, int srcHeight, uint8_t* dst, int dstWidth, int dstHeight);

}  // namespace platform
