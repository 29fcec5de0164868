#include "platform/filters/TestPatternSource.h"

#include <cstring>

namespace platform {
namespace {
// White, yellow, cyan, green, magenta, red, blue, black.
constexpr uint32_t kBars[8] = {0xFFFFFF, 0xFFFF00, 0x00FFFF, 0x00FF00, 0xFF00FF, 0xFF0000, 0x0000FF, 0x000000};
constexpr int64_t kPatternPx = 8 * TTestPatternSource::kBarWidthPx;
}  // namespace

uint32_t TTestPatternSource::ColourAt(int x, int64_t frameNo) {
    int64_t pos = (static_cast<int64_t>(x) - frameNo * kStepPxPerFrame) % kPatternPx;
    if (pos < 0) pos += kPatternPx;
    return kBars[pos / kBarWidthPx];
}

bool TTestPatternSource::Grab(const TRect& area, uint8_t* frame, TRowOrder) {
    const int64_t frameNo = frames_.fetch_add(1);
    const int width = area.Width(), height = area.Height();
    if (width < 1 || height < 1) return true;
    // Every row is the same, whatever their order: build the first, copy it to the others.
    uint8_t* first = frame;
    for (int x = 0; x < width; ++x) {
        const uint32_t c = ColourAt(area.Left + x, frameNo);
        first[4 * x] = static_cast<uint8_t>(c);
        first[4 * x + 1] = static_cast<uint8_t>(c >> 8);
        first[4 * x + 2] = static_cast<uint8_t>(c >> 16);
        first[4 * x + 3] = 0;
    }
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    for (int y = 1; y < height; ++y) std::memcpy(frame + rowBytes * y, first, rowBytes);
    return true;
}

}  // namespace platform
