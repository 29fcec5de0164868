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

TEST(ScreenSnapTest, AGrownWindowIsMovedUpIntoTheAreaFirstAndCutWhereItIsTaller) {
    const platform::TRect area{100, 50, 1100, 850};  // 800 high
    const struct {
        const char* what;
        platform::TRect window, expected;
    } cases[] = {
        {"inside", MakeRect(300, 100, 550, 600), MakeRect(300, 100, 550, 600)},
        {"below the bottom: moved up", MakeRect(300, 400, 550, 692), MakeRect(300, 158, 550, 692)},
        {"as tall as the area", MakeRect(300, 400, 550, 800), MakeRect(300, 50, 550, 800)},
        {"taller than the area: at its top, cut", MakeRect(300, 400, 550, 896), MakeRect(300, 50, 550, 800)},
        {"above the top", MakeRect(300, 0, 550, 300), MakeRect(300, 50, 550, 300)},
        {"past the right edge: moved left", MakeRect(900, 100, 550, 300), MakeRect(550, 100, 550, 300)},
        {"left of the area", MakeRect(-40, 100, 550, 300), MakeRect(100, 100, 550, 300)},
        {"wider than the area: its left edge", MakeRect(300, 100, 1200, 300), MakeRect(100, 100, 1200, 300)},
    };
    for (const auto& c : cases) {
        const platform::TRect placed = app::FitIntoArea(c.window, area);
        EXPECT_EQ(placed, c.expected) << c.what << ": " << placed.Left << "," << placed.Top << " " << placed.Width()
                                      << "x" << placed.Height();
    }
}

TEST(ScreenSnapTest, AWindowKeepsWhatRoomIsLeftBelowItsTopButNeverLessThanItsLeast) {
    const platform::TRect area{0, 0, 1280, 876};
    const struct {
        const char* what;
        int top, wanted, least, expected;
    } cases[] = {
        {"room enough", 184, 692, 80, 692},
        {"a move refused at 508: cut", 508, 692, 80, 368},
        {"moved up again: back to what it wants", 100, 692, 80, 692},
        {"at the bottom edge: its least", 860, 692, 80, 80},
        {"below the area: its least", 900, 692, 80, 80},
    };
    for (const auto& c : cases) EXPECT_EQ(app::HeightToFit(c.top, c.wanted, c.least, area), c.expected) << c.what;
}

}  // namespace
