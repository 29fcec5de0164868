// The captured window followed on a real X server of the test's own, with and without a window
// manager (openbox): found by class and caption, moved and resized (the rectangle follows), hidden,
// minimised and closed (its handle and last rectangle kept, one line each), and the display itself
// going away (a clear line, no crash).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>

#include "engine/capture/settings/CaptureRect.h"
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
            UpdateWindowRect(params.Window, geometry.Window);
            return geometry.Window.Handle == window->id();
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
    TCaptureGeometry geometry;
    std::vector<std::string> lines;
};

TEST_P(CaptureWindowTest, MovedAndResizedWindowIsFollowed) {
    ASSERT_TRUE(fw_test::WaitUntil([&] { return UpdateWindowRect(params.Window, geometry.Window); }, kFollowWithin))
        << "never settles";
    const platform::TRect before = Rect();
    EXPECT_EQ(geometry.Window.Width, before.Width());
    EXPECT_EQ(geometry.Window.Left, before.Left);

    window->MoveResize(300, 250, 500, 350);
    ASSERT_TRUE(fw_test::WaitUntil([&] { return Rect().Width() == before.Width() + 100; }, kFollowWithin))
        << "the server did not resize the window";
    EXPECT_FALSE(UpdateWindowRect(params.Window, geometry.Window)) << "the watcher sees no change";
    const platform::TRect after = Rect();
    EXPECT_EQ(after.Height(), before.Height() + 50);
    EXPECT_EQ(geometry.Window.Left, after.Left);
    EXPECT_EQ(geometry.Window.Top, after.Top);
    EXPECT_EQ(geometry.Window.Width, after.Width());
    EXPECT_EQ(geometry.Window.Height, after.Height());
    EXPECT_NE(after.Left, before.Left);

    CalcCaptureRect(params, geometry, Log());
    EXPECT_EQ(geometry.CaptureRect, after);
    EXPECT_EQ(geometry.FrameWidth % kFrameSizeStep, 0);
    EXPECT_LT(geometry.FrameWidth - after.Width(), kFrameSizeStep);
    EXPECT_TRUE(lines.empty());
}

// Unmapped, minimised (by the window manager) and closed: the job keeps the window's handle while it
// exists and its last rectangle throughout, and says each change once.
TEST_P(CaptureWindowTest, HiddenMinimisedAndClosedWindowsKeepTheirRectangle) {
    ASSERT_TRUE(fw_test::WaitUntil([&] { return UpdateWindowRect(params.Window, geometry.Window); }, kFollowWithin))
        << "never settles";
    CalcCaptureRect(params, geometry, Log());
    const platform::TRect shown = geometry.CaptureRect;
    ASSERT_FALSE(shown.IsEmpty());
    const std::string name = "window \"Followed\" (class \"FwFollowed\")";
    const std::string hidden = name + " is hidden - black pictures are published until it is shown";
    std::vector<std::string> expected;

    window->Unmap();
    EXPECT_TRUE(UpdateWindowRect(params.Window, geometry.Window, Log()));
    EXPECT_EQ(geometry.Window.Handle, window->id());
    expected.push_back(hidden);
    window->Map();
    ASSERT_TRUE(fw_test::WaitUntil([&] { return WindowShown(geometry.Window); }, kFollowWithin));
    UpdateWindowRect(params.Window, geometry.Window, Log());
    expected.push_back(name + " is shown again");

    if (GetParam()) {
        window->Iconify();
        ASSERT_TRUE(fw_test::WaitUntil([&] { return !WindowShown(geometry.Window); }, kFollowWithin))
            << "the window manager did not minimise the window";
        EXPECT_TRUE(UpdateWindowRect(params.Window, geometry.Window, Log()));
        EXPECT_EQ(geometry.Window.Handle, window->id());
        expected.push_back(hidden);
    }
    CalcCaptureRect(params, geometry, Log());
    EXPECT_EQ(geometry.CaptureRect.Width(), shown.Width()) << "the last size stays";
    EXPECT_EQ(geometry.CaptureRect.Height(), shown.Height());

    window->Destroy();
    EXPECT_TRUE(UpdateWindowRect(params.Window, geometry.Window, Log()));
    EXPECT_TRUE(UpdateWindowRect(params.Window, geometry.Window, Log()));
    EXPECT_EQ(geometry.Window.Handle, platform::kNoWindow);
    expected.push_back(name + " is gone - black pictures are published until it is found again");
    CalcCaptureRect(params, geometry, Log());
    EXPECT_EQ(geometry.CaptureRect.Width(), shown.Width());
    EXPECT_EQ(geometry.CaptureRect.Height(), shown.Height());
    EXPECT_EQ(lines, expected);
}

// Qt's unmapped client leader and a hidden window of the same names are never taken for the window.
TEST_P(CaptureWindowTest, NeverFoundWindowIsNotTakenFromHiddenNamesakes) {
    window->Unmap();
    fw_test::XTestWindow leader(fw_test::XTestWindow::Options{
        .Width = 1, .Height = 1, .Class = "FwFollowed", .Caption = "Followed", .Display = server.name()});
    TScreenCaptureParams fresh;
    fresh.capKind = kCapKindWindow;
    fresh.Window.sClass = "FwFollowed";
    fresh.Window.sCaption = "Followed";
    TCaptureGeometry freshGeometry;
    CalcCaptureRect(fresh, freshGeometry, Log());
    EXPECT_EQ(freshGeometry.Window.Handle, platform::kNoWindow);
    EXPECT_EQ(freshGeometry.CaptureRect, (platform::TRect{0, 0, 1280, 800})) << "the primary screen's size, published black";
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "window \"Followed\" (class \"FwFollowed\") not found - black pictures are published until it is shown");
}

TEST_P(CaptureWindowTest, DisplayThatGoesAwaySaysSo) {
    const std::optional<platform::TRect> last = geometry.Window.LastShownRect;
    ASSERT_TRUE(last);
    windowManager.reset();
    server.Kill();
    UpdateWindowRect(params.Window, geometry.Window);
    EXPECT_EQ(geometry.Window.Handle, platform::kNoWindow);
    CalcCaptureRect(params, geometry, Log());
    EXPECT_EQ(geometry.CaptureRect, *last) << "black pictures of the last size";
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "the display cannot be reached - window \"Followed\" (class \"FwFollowed\") cannot be captured");
}

INSTANTIATE_TEST_SUITE_P(Desktops, CaptureWindowTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "ReparentingWindowManager" : "NoWindowManager");
                         });

}  // namespace
