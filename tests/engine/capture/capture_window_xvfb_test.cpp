// The captured window followed on a real X server of the test's own, with and without a window
// manager (openbox): found by class and caption, moved and resized (the rectangle follows), closed
// (a clear line, the primary screen), and the display itself going away (a clear line, no crash).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>

#include "engine/capture/CaptureRect.h"
#include "platform/display/xcb_display.h"
#include "tests/support/PrivateXServer.h"
#include "tests/support/XTestWindow.h"
#include "tests/support/test_env.h"

namespace {

using namespace engine;
using namespace std::chrono_literals;

constexpr auto kWindowManagerWithin = 15s;
constexpr auto kFollowWithin = 5s;

class CaptureWindowTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.ok()) << "no private X server";
        ::setenv("DISPLAY", server.name().c_str(), 1);  // for the window manager
        platform::SetCurrentDisplay(std::make_shared<platform::TXcbDisplay>(server.name().c_str()));
        if (GetParam()) {
            windowManager = fw_test::StartWindowManager(dir / "started", kWindowManagerWithin);
            ASSERT_TRUE(windowManager) << "the window manager did not come up";
        }
        window = std::make_unique<fw_test::XTestWindow>(fw_test::XTestWindow::Options{
            .X = 200, .Y = 150, .Width = 400, .Height = 300, .Class = "FwFollowed", .Caption = "Followed",
            .Display = server.name()});
        window->Map();
        params.capKind = kCapKindWindow;
        params.Window.sClass = "FwFollowed";
        params.Window.sCaption = "Followed";
        ASSERT_TRUE(fw_test::WaitUntil([&] {
            UpdateWindowRect(params.Window);
            return params.Window.Handle == window->id();
        }, kWindowManagerWithin)) << "the window is not found";
    }
    void TearDown() override { platform::SetCurrentDisplay(nullptr); }

    CaptureLog Log() {
        return [this](const std::string& text, uint8_t) { lines.push_back(text); };
    }
    // The rectangle the display gives for the window, the window manager's frame included.
    platform::TRect Rect() { return platform::CurrentDisplay()->GetWindowRect(window->id()).value_or(platform::TRect{}); }

    fw_test::PrivateXServer server{1280, 800};
    fw_test::TempDir dir;
    std::unique_ptr<fw_test::ChildProcess> windowManager;
    std::unique_ptr<fw_test::XTestWindow> window;
    TScreenCaptureParams params;
    std::vector<std::string> lines;
};

TEST_P(CaptureWindowTest, MovedAndResizedWindowIsFollowed) {
    ASSERT_TRUE(fw_test::WaitUntil([&] { return UpdateWindowRect(params.Window); }, kFollowWithin)) << "never settles";
    const platform::TRect before = Rect();
    EXPECT_EQ(params.Window.Width, before.Width());
    EXPECT_EQ(params.Window.Left, before.Left);

    window->MoveResize(300, 250, 500, 350);
    ASSERT_TRUE(fw_test::WaitUntil([&] { return Rect().Width() == before.Width() + 100; }, kFollowWithin))
        << "the server did not resize the window";
    EXPECT_FALSE(UpdateWindowRect(params.Window)) << "the watcher sees no change";
    const platform::TRect after = Rect();
    EXPECT_EQ(after.Height(), before.Height() + 50);
    EXPECT_EQ(params.Window.Left, after.Left);
    EXPECT_EQ(params.Window.Top, after.Top);
    EXPECT_EQ(params.Window.Width, after.Width());
    EXPECT_EQ(params.Window.Height, after.Height());
    EXPECT_NE(after.Left, before.Left);

    CalcCaptureRect(params, Log());
    EXPECT_EQ(params.CaptureRect, after);
    EXPECT_EQ(params.FrameWidth % kFrameSizeStep, 0);
    EXPECT_LT(params.FrameWidth - after.Width(), kFrameSizeStep);
    EXPECT_TRUE(lines.empty());
}

TEST_P(CaptureWindowTest, ClosedWindowGivesTheScreenAndSaysSo) {
    window->Destroy();
    EXPECT_FALSE(UpdateWindowRect(params.Window));
    EXPECT_EQ(params.Window.Handle, platform::kNoWindow);
    CalcCaptureRect(params, Log());
    EXPECT_EQ(params.CaptureRect, (platform::TRect{0, 0, 1280, 800}));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "window \"Followed\" (class \"FwFollowed\") not found - the primary screen is captured until it is shown");
}

TEST_P(CaptureWindowTest, DisplayThatGoesAwaySaysSo) {
    windowManager.reset();
    server.Kill();
    UpdateWindowRect(params.Window);
    EXPECT_EQ(params.Window.Handle, platform::kNoWindow);
    CalcCaptureRect(params, Log());
    EXPECT_EQ(params.FrameWidth, kMinFrameSize);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "the display cannot be reached - window \"Followed\" (class \"FwFollowed\") cannot be captured");
}

INSTANTIATE_TEST_SUITE_P(Desktops, CaptureWindowTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "ReparentingWindowManager" : "NoWindowManager");
                         });

}  // namespace
