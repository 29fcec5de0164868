#include <gtest/gtest.h>

#include "app/startup/WaylandSession.h"

namespace {

TEST(WaylandSession, WarnsOnlyInAWaylandSession) {
    struct Case {
        const char* sessionType;
        const char* waylandDisplay;
        bool warns;
    } cases[] = {
        {nullptr, nullptr, false}, {"x11", nullptr, false},    {"tty", "", false},
        {"wayland", nullptr, true}, {nullptr, "wayland-0", true}, {"x11", "wayland-1", true},
    };
    for (const Case& c : cases) {
        const auto warning = app::WaylandSessionWarning(c.sessionType, c.waylandDisplay);
        EXPECT_EQ(warning.has_value(), c.warns) << (c.sessionType ? c.sessionType : "-") << "/"
                                                << (c.waylandDisplay ? c.waylandDisplay : "-");
    }
    EXPECT_EQ(*app::WaylandSessionWarning("wayland", nullptr),
              "Wayland session: the X screen capture sees only X11 (XWayland) windows - every other window is "
              "captured as black");
}

}  // namespace
