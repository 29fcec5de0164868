// The window search on real X servers of the test's own: without a window manager, under a
// reparenting one (openbox) and after it was killed. The search finds the window a person sees, never
// an unmapped helper (Qt's client leader carries the program's caption), an InputOnly window or an
// override-redirect menu with the same caption; several shown windows of one caption give the
// top-most; lists a window manager leaves behind when it dies do not hide windows.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "platform/display/xcb_display.h"
#include "tests/support/PrivateXServer.h"
#include "tests/support/XTestWindow.h"
#include "tests/support/test_env.h"

namespace {

using namespace std::chrono_literals;
using fw_test::XTestWindow;

constexpr auto kWindowManagerWithin = 15s;
constexpr const char* kClass = "FwSearchClass";
constexpr const char* kCaption = "Framewick";

bool Contains(const std::vector<platform::WindowId>& list, platform::WindowId w) {
    return std::find(list.begin(), list.end(), w) != list.end();
}

class WindowSearchTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.ok()) << "no private X server";
        ::setenv("DISPLAY", server.name().c_str(), 1);  // for the window manager
        display = std::make_unique<platform::TXcbDisplay>(server.name().c_str());
        ASSERT_TRUE(display->Connected());
        if (GetParam()) StartWindowManager();
    }

    void StartWindowManager() {
        // It runs the start-up command once it has taken over the screen.
        windowManager = fw_test::StartWindowManager(dir / "started", kWindowManagerWithin);
        ASSERT_TRUE(windowManager) << "the window manager did not come up";
    }

    XTestWindow::Options Shown(int x, int y, int w, int h, const std::string& cls = kClass) const {
        return {.X = x, .Y = y, .Width = w, .Height = h, .Class = cls, .Caption = kCaption, .Display = server.name()};
    }

    // Mapped, and under a window manager taken in by it (inside its frame).
    void MapManaged(XTestWindow& window) {
        window.Map();
        if (!windowManager) return;
        ASSERT_TRUE(fw_test::WaitUntil(
            [&] { return window.Parent() != window.Root() && platform::IsTopLevelWindow(*display, window.id()); },
            kWindowManagerWithin))
            << "the window manager did not take the window in";
    }

    fw_test::PrivateXServer server{1280, 800};
    fw_test::TempDir dir;
    std::unique_ptr<fw_test::ChildProcess> windowManager;
    std::unique_ptr<platform::TXcbDisplay> display;
};

TEST_P(WindowSearchTest, HelperWindowsWithTheSameCaptionArePassedOver) {
    // Made before the real window, so it lies below it: a walk in creation order meets it first.
    XTestWindow leader({.X = 0, .Y = 0, .Width = 1, .Height = 1, .Class = kClass, .Caption = kCaption,
                        .Display = server.name()});
    XTestWindow real(Shown(100, 80, 400, 300));
    XTestWindow inputOnly({.X = 0, .Y = 0, .Width = 1280, .Height = 800, .Class = kClass, .Caption = kCaption,
                           .InputOnly = true, .Display = server.name()});
    XTestWindow menu({.X = 120, .Y = 100, .Width = 150, .Height = 200, .Class = kClass, .Caption = kCaption,
                      .OverrideRedirect = true, .Display = server.name()});
    ASSERT_NO_FATAL_FAILURE(MapManaged(real));
    inputOnly.Map();
    menu.Map();
    menu.Raise();

    struct Case {
        const char* what;
        std::string cls, caption;
    } cases[] = {{"class and caption", kClass, kCaption}, {"caption only", "", kCaption}, {"class only", kClass, ""}};
    for (const Case& c : cases) {
        EXPECT_EQ(platform::FindTopLevelWindow(*display, c.cls, c.caption), real.id()) << c.what;
        EXPECT_EQ(platform::FindTopLevelWindows(*display, c.cls, c.caption).size(), 1u) << c.what;
    }
    // A control inside the window climbs to the window, never to a frame around it.
    XTestWindow control({.X = 5, .Y = 5, .Width = 20, .Height = 10, .Display = server.name(), .Parent = real.id()});
    control.Map();
    EXPECT_EQ(display->GetParentWindow(control.id()), real.id());
    EXPECT_EQ(display->GetParentWindow(real.id()), platform::kNoWindow);
    const std::vector<platform::WindowId> shown = display->TopLevelWindows();
    EXPECT_TRUE(Contains(shown, real.id()));
    for (const XTestWindow* helper : {&leader, &inputOnly, &menu}) EXPECT_FALSE(Contains(shown, helper->id()));
    if (windowManager) {
        // The client is listed, not the frame around it; its rectangle is the frame's.
        EXPECT_FALSE(Contains(shown, real.Parent()));
        // The window manager may still be placing the frame: compare once both settle on one answer.
        EXPECT_TRUE(fw_test::WaitUntil([&] {
            const XTestWindow::Box frame = real.ScreenBox(real.Parent());
            return display->GetWindowRect(real.id()) == platform::MakeRect(frame.X, frame.Y, frame.Width, frame.Height);
        }, 5s)) << "the rectangle is not the frame's";
    } else {
        EXPECT_EQ(display->GetWindowRect(real.id()), platform::MakeRect(100, 80, 400, 300));
    }

    // Hidden, it is no longer found, and the helpers are not taken instead.
    real.Unmap();
    EXPECT_TRUE(fw_test::WaitUntil([&] { return !platform::IsTopLevelWindow(*display, real.id()); }, 5s));
    EXPECT_EQ(platform::FindTopLevelWindow(*display, kClass, kCaption), platform::kNoWindow);
}

TEST_P(WindowSearchTest, SeveralShownWindowsOfOneCaptionGiveTheTopMost) {
    XTestWindow first(Shown(50, 50, 300, 200));
    XTestWindow second(Shown(400, 300, 200, 100));
    ASSERT_NO_FATAL_FAILURE(MapManaged(first));
    ASSERT_NO_FATAL_FAILURE(MapManaged(second));
    EXPECT_TRUE(fw_test::WaitUntil([&] { return platform::FindTopLevelWindow(*display, kClass, kCaption) == second.id(); }, 5s));
    EXPECT_EQ(platform::FindTopLevelWindows(*display, kClass, kCaption),
              (std::vector<platform::WindowId>{second.id(), first.id()}));
    first.Raise();
    EXPECT_TRUE(fw_test::WaitUntil([&] { return platform::FindTopLevelWindow(*display, kClass, kCaption) == first.id(); }, 5s))
        << "the raised window is not found first";
    EXPECT_EQ(display->GetWindowAbove(second.id()), first.id());
}

INSTANTIATE_TEST_SUITE_P(Desktops, WindowSearchTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "ReparentingWindowManager" : "NoWindowManager");
                         });

// What a window manager leaves on the root when it goes: its client lists (stale or empty) and the
// name of its check window, which is gone.
class LeftBehindListsTest : public WindowSearchTest {};

TEST_P(LeftBehindListsTest, KilledWindowManagerHidesNoWindow) {
    XTestWindow before(Shown(100, 100, 300, 200));
    ASSERT_NO_FATAL_FAILURE(MapManaged(before));
    ASSERT_TRUE(fw_test::WaitUntil([&] { return Contains(before.RootWindowList("_NET_CLIENT_LIST"), before.id()); },
                                   kWindowManagerWithin));
    ASSERT_EQ(::kill(windowManager->pid(), SIGKILL), 0);
    ASSERT_TRUE(windowManager->WaitForExit(10s).has_value());
    // The server puts the clients back on the root; the lists stay behind.
    ASSERT_TRUE(fw_test::WaitUntil([&] { return before.Parent() == before.Root(); }, 10s));
    ASSERT_TRUE(Contains(before.RootWindowList("_NET_CLIENT_LIST"), before.id())) << "no stale list to test with";

    XTestWindow after(Shown(600, 400, 200, 150, "FwAfterClass"));
    after.Map();
    EXPECT_EQ(platform::FindTopLevelWindow(*display, "FwAfterClass", kCaption), after.id()) << "missing from the stale list";
    EXPECT_EQ(platform::FindTopLevelWindow(*display, kClass, kCaption), before.id());
    // Without its frame the window's rectangle is its own (the frame extents it kept are stale).
    const XTestWindow::Box own = before.ScreenBox(before.id());
    EXPECT_EQ(display->GetWindowRect(before.id()), platform::MakeRect(own.X, own.Y, own.Width, own.Height));
    EXPECT_EQ(display->GetParentWindow(before.id()), platform::kNoWindow);

    before.Destroy();
    EXPECT_EQ(platform::FindTopLevelWindow(*display, kClass, kCaption), platform::kNoWindow);
    EXPECT_TRUE(Contains(display->TopLevelWindows(), after.id()));
}

INSTANTIATE_TEST_SUITE_P(Desktops, LeftBehindListsTest, ::testing::Values(true),
                         [](const ::testing::TestParamInfo<bool>&) { return std::string("ReparentingWindowManager"); });

TEST(LeftBehindLists, ListsNamingGoneWindowsOrNoneAreWalkedPast) {
    fw_test::PrivateXServer server(800, 600);
    ASSERT_TRUE(server.ok());
    platform::TXcbDisplay display(server.name().c_str());
    XTestWindow real({.X = 10, .Y = 10, .Width = 200, .Height = 100, .Class = kClass, .Caption = kCaption,
                      .Display = server.name()});
    real.Map();
    XTestWindow gone({.Class = "FwGone", .Caption = "gone", .Display = server.name()});
    const uint32_t goneId = gone.id();
    gone.Destroy();
    // A window that names itself stands for a window manager that still runs but lists nothing.
    XTestWindow check({.Display = server.name()});
    check.SetWindowList(check.id(), "_NET_SUPPORTING_WM_CHECK", {check.id()});

    struct Case {
        const char* what;
        std::vector<uint32_t> clients;
        uint32_t checkWindow;
    } cases[] = {
        {"empty list of a window manager that quit", {}, goneId},
        {"list of gone windows of a window manager that quit", {goneId}, goneId},
        {"empty list of a running window manager", {}, check.id()},
    };
    for (const Case& c : cases) {
        real.SetWindowList(real.Root(), "_NET_CLIENT_LIST", c.clients);
        real.SetWindowList(real.Root(), "_NET_CLIENT_LIST_STACKING", c.clients);
        real.SetWindowList(real.Root(), "_NET_SUPPORTING_WM_CHECK", {c.checkWindow});
        EXPECT_EQ(platform::FindTopLevelWindow(display, kClass, kCaption), real.id()) << c.what;
        EXPECT_FALSE(Contains(display.TopLevelWindows(), goneId)) << c.what;
    }
}

}  // namespace
