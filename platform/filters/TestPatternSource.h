// The picture the screen-capture filter sends when no display server answers: eight colour bars of
// kBarWidthPx pixels, laid out in desktop coordinates, that move kStepPxPerFrame pixels to the right with
// every picture.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/filters/ScreenSource.h"

namespace platform {

class TTestPatternSource final : public IScreenSource {
public:
    static constexpr int kBarWidthPx = 64;
    static constexpr int kStepPxPerFrame = 4;

    bool Grab(const TRect& area, const TRect& readable, uint8_t* frame, TRowOrder order) override;
    bool FromDisplay() const override { return false; }

    // The colour (0x00RRGGBB) of desktop pixel x in picture number frameNo (counted from 0).
    static uint32_t ColourAt(int x, int64_t frameNo);

private:
    std::atomic<int64_t> frames_{0};
};

}  // namespace platform
