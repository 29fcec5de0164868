#include "platform/filters/CaptureFrameBuilder.h"

#include <cstring>

namespace platform {

TCaptureFrameBuilder::TCaptureFrameBuilder(IScreenSource& source, const TScreenCaptureSettings& settings)
    : source_(source), settings_(settings) {}

bool TCaptureFrameBuilder::Fill(uint8_t* frame, TRowOrder order, const TRect& readable) {
    const TRect& area = settings_.Area;
    if (area.Width() == settings_.OutWidth && area.Height() == settings_.OutHeight)
        return source_.Grab(area, readable, frame, order);
    scratch_.resize(static_cast<size_t>(area.Width()) * area.Height() * 4);
    const bool grabbed = source_.Grab(area, readable, scratch_.data(), order);
    ScaleRgb32(scratch_.data(), area.Width(), area.Height(), frame, settings_.OutWidth, settings_.OutHeight);
    return grabbed;
}

void ScaleRgb32(const uint8_t* src, int srcWidth, int srcHeight, uint8_t* dst, int dstWidth, int dstHeight) {
    std::vector<size_t> columns(static_cast<size_t>(dstWidth));
    for (int x = 0; x < dstWidth; ++x)
        columns[x] = static_cast<size_t>((static_cast<int64_t>(x) * srcWidth + srcWidth / 2) / dstWidth) * 4;
    for (int y = 0; y < dstHeight; ++y) {
        int sy = static_cast<int>((static_cast<int64_t>(y) * srcHeight + srcHeight / 2) / dstHeight);
        if (sy >= srcHeight) sy = srcHeight - 1;
        const uint8_t* srow = src + static_cast<size_t>(sy) * srcWidth * 4;
        uint8_t* drow = dst + static_cast<size_t>(y) * dstWidth * 4;
        for (int x = 0; x < dstWidth; ++x) {
            size_t sx = columns[x];
            if (sx >= static_cast<size_t>(srcWidth) * 4) sx = static_cast<size_t>(srcWidth - 1) * 4;
            std::memcpy(drow + 4 * static_cast<size_t>(x), srow + sx, 4);
        }
    }
}

}  // namespace platform
