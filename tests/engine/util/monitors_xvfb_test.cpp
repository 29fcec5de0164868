// The monitor utilities over the real display (the test script's Xvfb: one 1920x1080 monitor).
#include <gtest/gtest.h>

#include "engine/util/monitors.h"
#include "tests/support/test_env.h"

TEST(MonitorsOnXvfb, OneFullHdMonitor) {
    if (!fw_test::HasDisplay()) GTEST_SKIP() << "no X server";
    EXPECT_EQ(engine::GetMonitorCount(), 1);
    EXPECT_EQ(engine::GetMonitorIndexAt(5000, 5000), 1);
    platform::TPoint p = engine::GetMonitorCenterPos(1, 400, 300);
    EXPECT_EQ(p.X, 760);
    EXPECT_EQ(p.Y, 390);
    engine::TDesktopBounds b = engine::GetDesktopBounds();
    EXPECT_EQ(b.Width, 1920);
    EXPECT_EQ(b.Height, 1080);
}
