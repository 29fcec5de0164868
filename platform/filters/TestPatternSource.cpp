#include "platform/filters/TestPatternSource.h"

#include <vector>

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

bool TTestPatternSource::Grab(const TRect& area, const TRect& readable, uint8_t* frame, TRowOrder order) {
    const int64_t frameNo = frames_.fetch_add(1);
    const int width = area.Width(), height = area.Height();
    if (width < 1 || height < 1) return true;
    const TRect visible = area.Intersection(readable);
    if (visible.IsEmpty()) {
        ComposeFrame(area, visible, nullptr, 0, frame, order);
        return true;
    }
    // Every row of the pattern is the same: build one row of the readable part, then let the frame's
    // composition place it in every readable row.
    std::vector<uint8_t> row(static_cast<size_t>(visible.Width()) * 4);
    for (int x = 0; x < visible.Width(); ++x) {
        const uint32_t c = ColourAt(visible.Left + x, frameNo);
        row[4 * x] = static_cast<uint8_t>(c);
        row[4 * x + 1] = static_cast<uint8_t>(c >> 8);
        row[4 * x + 2] = static_cast<uint8_t>(c >> 16);
        row[4 * x + 3] = 0;
    }
    ComposeFrame(area, visible, row.data(), 0, frame, order);
    return true;
}

}  // namespace platform
