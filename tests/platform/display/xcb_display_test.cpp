// Runs against the X server of the test script (Xvfb, one 1920x1080 screen, no window manager).
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/display/xcb_display.h"
#include "tests/support/XTestWindow.h"
#include "tests/support/test_env.h"

namespace {

class XcbDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fw_test::HasDisplay()) GTEST_SKIP() << "no X server";
    }
};

TEST_F(XcbDisplayTest, MonitorsOfTheServer) {
    platform::TXcbDisplay display;
    ASSERT_TRUE(display.Connected());
    auto monitors = display.Monitors();
    ASSERT_FALSE(monitors.empty());
    EXPECT_EQ(monitors[0].Monitor, (platform::TRect{0, 0, 1920, 1080}));
    EXPECT_FALSE(monitors[0].WorkArea.IsEmpty());
    EXPECT_TRUE(platform::PrimaryMonitor(display).has_value());
}

TEST_F(XcbDisplayTest, FindsWindowsWithTheirRectangleAndStacking) {
    platform::TXcbDisplay display;
    fw_test::XTestWindow lower({.X = 100, .Y = 50, .Width = 300, .Height = 200, .Class = "FwTestClass",
                                .Caption = "Framewick xcb test"});
    fw_test::XTestWindow upper({.X = 200, .Y = 100, .Width = 100, .Height = 100, .Class = "FwOther", .Caption = "other"});
    EXPECT_FALSE(display.IsWindowVisible(lower.id()));
    lower.Map();
    upper.Map();
    EXPECT_TRUE(display.IsWindow(lower.id()));
    EXPECT_TRUE(display.IsWindowVisible(lower.id()));
    EXPECT_EQ(display.GetWindowClass(lower.id()), "FwTestClass");
    EXPECT_EQ(display.GetWindowCaption(lower.id()), "Framewick xcb test");
    EXPECT_EQ(display.GetWindowRect(lower.id()), (platform::TRect{100, 50, 400, 250}));
    EXPECT_EQ(display.GetWindowProcess(lower.id()), ::getpid());
    EXPECT_EQ(display.GetParentWindow(lower.id()), 0u);
    EXPECT_EQ(platform::FindTopLevelWindow(display, "FwTestClass", "Framewick xcb test"), lower.id());
    EXPECT_EQ(platform::FindTopLevelWindow(display, "", "other"), upper.id());
    EXPECT_EQ(display.GetWindowAbove(lower.id()), upper.id());
    EXPECT_FALSE(display.IsWindow(0));
}

}  // namespace
