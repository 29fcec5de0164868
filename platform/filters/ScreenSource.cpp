#include "platform/filters/ScreenSource.h"

#include <cstring>

#include "platform/filters/TestPatternSource.h"
#include "platform/filters/XcbScreenSource.h"

namespace platform {

std::unique_ptr<IScreenSource> OpenScreenSource(std::string* note) {
    std::string why;
    if (auto xcb = TXcbScreenSource::Open(nullptr, &why)) {
        if (note) *note = "grabbing from the X server" + std::string(xcb->UsesSharedMemory() ? " (MIT-SHM)" : "");
        return xcb;
    }
    if (note) *note = "no usable display (" + why + "), sending the test pattern";
    return std::make_unique<TTestPatternSource>();
}

void ComposeFrame(const TRect& area, const TRect& visible, const uint8_t* visiblePixels, size_t visibleStride,
                  uint8_t* frame, TRowOrder order) {
    const int width = area.Width(), height = area.Height();
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    const bool anyVisible = !visible.IsEmpty() && visiblePixels;
    const size_t leftPad = anyVisible ? static_cast<size_t>(visible.Left - area.Left) * 4 : rowBytes;
    const size_t copyBytes = anyVisible ? static_cast<size_t>(visible.Width()) * 4 : 0;
    for (int y = 0; y < height; ++y) {
        const int row = order == TRowOrder::BottomUp ? height - 1 - y : y;
        uint8_t* dst = frame + rowBytes * static_cast<size_t>(row);
        const int screenY = area.Top + y;
        if (!anyVisible || screenY < visible.Top || screenY >= visible.Bottom) {
            std::memset(dst, 0, rowBytes);
            continue;
        }
        std::memset(dst, 0, leftPad);
        std::memcpy(dst + leftPad, visiblePixels + visibleStride * static_cast<size_t>(screenY - visible.Top),
                    copyBytes);
        std::memset(dst + leftPad + copyBytes, 0, rowBytes - leftPad - copyBytes);
    }
}

}  // namespace platform
