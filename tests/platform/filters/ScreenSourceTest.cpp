#include <gtest/gtest.h>

#include <vector>

#include "platform/filters/ScreenSource.h"
#include "platform/filters/TestPatternSource.h"

namespace platform {
namespace {

// Pixel (x, y) of an RGB32 frame as 0x00RRGGBB, y counted from the top.
uint32_t PixelAt(const std::vector<uint8_t>& frame, int width, int height, int x, int y,
                 TRowOrder order = TRowOrder::BottomUp) {
    const int row = order == TRowOrder::BottomUp ? height - 1 - y : y;
    const uint8_t* p = frame.data() + (static_cast<size_t>(row) * width + x) * 4;
    return (p[2] << 16) | (p[1] << 8) | p[0];
}

TEST(ComposeFrame, PadsTheOverhangBlack) {
    const TRect screen = MakeRect(0, 0, 8, 6);
    // The "screen": every pixel is (x + 1) in red, (y + 1) in green.
    std::vector<uint8_t> screenPixels(8 * 6 * 4);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            uint8_t* p = &screenPixels[(y * 8 + x) * 4];
            p[2] = static_cast<uint8_t>(x + 1);
            p[1] = static_cast<uint8_t>(y + 1);
        }
    struct Case {
        const char* name;
        TRect area;
    };
    const Case cases[] = {
        {"inside", MakeRect(2, 1, 4, 3)},
        {"over the right and bottom edges", MakeRect(4, 2, 8, 8)},
        {"over the left and top edges", MakeRect(-3, -2, 6, 5)},
        {"around the whole screen", MakeRect(-1, -1, 10, 8)},
        {"off the screen", MakeRect(20, 20, 4, 4)},
    };
    for (const TRowOrder order : {TRowOrder::BottomUp, TRowOrder::TopDown})
        for (const Case& c : cases) {
            const TRect visible = c.area.Intersection(screen);
            const uint8_t* start = visible.IsEmpty() ? nullptr
                                                     : &screenPixels[(visible.Top * 8 + visible.Left) * 4];
            std::vector<uint8_t> frame(static_cast<size_t>(c.area.Width()) * c.area.Height() * 4, 0xAB);
            ComposeFrame(c.area, visible, start, 8 * 4, frame.data(), order);
            for (int y = 0; y < c.area.Height(); ++y)
                for (int x = 0; x < c.area.Width(); ++x) {
                    const TPoint p{c.area.Left + x, c.area.Top + y};
                    const uint32_t expected =
                        screen.Contains(p) ? static_cast<uint32_t>(((p.X + 1) << 16) | ((p.Y + 1) << 8)) : 0u;
                    ASSERT_EQ(PixelAt(frame, c.area.Width(), c.area.Height(), x, y, order), expected)
                        << c.name << (order == TRowOrder::TopDown ? " top-down" : " bottom-up") << " at " << x << ","
                        << y;
                }
        }
}

TEST(TestPattern, BarsMoveWithEveryPicture) {
    TTestPatternSource source;
    const TRect area = MakeRect(100, 50, 32, 16);
    std::vector<uint8_t> first(32 * 16 * 4), second(32 * 16 * 4);
    ASSERT_TRUE(source.Grab(area, area, first.data(), TRowOrder::BottomUp));
    ASSERT_TRUE(source.Grab(area, area, second.data(), TRowOrder::TopDown));
    EXPECT_FALSE(source.FromDisplay());
    for (int x = 0; x < 32; ++x) {
        EXPECT_EQ(PixelAt(first, 32, 16, x, 0), TTestPatternSource::ColourAt(100 + x, 0));
        EXPECT_EQ(PixelAt(second, 32, 16, x, 15), TTestPatternSource::ColourAt(100 + x, 1));
    }
    // Picture n shows at x what picture 0 showed kStepPxPerFrame * n pixels further left.
    EXPECT_EQ(TTestPatternSource::ColourAt(10, 0),
              TTestPatternSource::ColourAt(10 + TTestPatternSource::kStepPxPerFrame * 3, 3));
    EXPECT_NE(first, second);
}

TEST(TestPattern, NegativeDesktopCoordinatesStayInsideTheBars) {
    for (int x : {-1, -64, -513, -100000}) {
        const uint32_t c = TTestPatternSource::ColourAt(x, 7);
        EXPECT_LE(c, 0xFFFFFFu) << x;
    }
    EXPECT_EQ(TTestPatternSource::ColourAt(-1, 0), 0x000000u);  // just left of 0 lies the last (black) bar
}

TEST(OpenScreenSource, WithoutADisplayGivesTheTestPattern) {
    const char* saved = std::getenv("DISPLAY");
    const std::string keep = saved ? saved : "";
    ::unsetenv("DISPLAY");
    std::string note;
    auto source = OpenScreenSource(&note);
    if (!keep.empty()) ::setenv("DISPLAY", keep.c_str(), 1);
    ASSERT_TRUE(source);
    EXPECT_FALSE(source->FromDisplay());
    EXPECT_NE(note.find("test pattern"), std::string::npos) << note;
}

}  // namespace
}  // namespace platform
