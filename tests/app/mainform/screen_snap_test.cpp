#include <gtest/gtest.h>

#include "app/mainform/ScreenSnap.h"

namespace {

using platform::MakeRect;
using platform::TPoint;

TEST(ScreenSnapTest, EdgesNearerThanTheSnapDistanceLieOnTheAreasEdges) {
    const platform::TRect area{100, 50, 1100, 850};  // a work area away from the origin
    const struct {
        const char* what;
        int left, top;
        TPoint expected;
    } cases[] = {
        {"inside, away from every edge", 400, 300, {400, 300}},
        {"left edge 9 px in", 109, 300, {100, 300}},
        {"left edge 9 px out", 91, 300, {100, 300}},
        {"left edge 10 px in", 110, 300, {110, 300}},
        {"top edge 3 px in", 400, 53, {400, 50}},
        {"right edge 5 px short", 1100 - 200 - 5, 300, {900, 300}},
        {"right edge 9 px beyond", 1100 - 200 + 9, 300, {900, 300}},
        {"bottom edge 1 px short", 400, 850 - 100 - 1, {400, 750}},
        {"the bottom-right corner", 898, 748, {900, 750}},
        {"far outside", 2000, 2000, {2000, 2000}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app::SnapToEdges(MakeRect(c.left, c.top, 200, 100), area), c.expected) << c.what;
}

TEST(ScreenSnapTest, AWindowAsWideAsTheAreaTakesItsLeftEdge) {
    const platform::TRect area{0, 0, 800, 600};
    // Both edges are near: the left (and top) one wins, as a window wider than the area shows its start.
    EXPECT_EQ(app::SnapToEdges(MakeRect(4, 3, 805, 598), area), (TPoint{0, 0}));
}

}  // namespace
