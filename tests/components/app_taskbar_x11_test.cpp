// Taking the program off the task bar on a real X11 desktop: an Xvfb of the program's own with a real
// window manager (openbox) and a real tray host (trayer). While the icon is docked, the tray icon's
// ApplicationHide marks the main window _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER and
// takes the marks away again, whether the window is hidden (its own property) or shown (a request the
// window manager carries out); with no tray host the window keeps its task-bar button. The states are
// read back from the X server.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <QWindow>

#include "components/NotifyIcon.h"
#include "components/QtAppTaskbar.h"
#include "components/QtTrayArea.h"
#include "tests/support/event_pump.h"
#include "tests/components/private_desktop.h"

using namespace components;
using fw_test::PumpUntil;

namespace {

::testing::Environment* const kDesktop = ::testing::AddGlobalTestEnvironment(new fw_test::PrivateDesktop);

constexpr std::chrono::milliseconds kWaitMs{10000};

class AppTaskbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        // It runs the start-up command once it has taken over the screen; windows mapped before then
        // may go unmanaged.
        windowManager = fw_test::StartWindowManager(dir / "started", kWaitMs);
        ASSERT_TRUE(windowManager) << "the window manager did not come up";
        window.setWindowFlag(Qt::WindowStaysOnTopHint);  // a state of the window's own, which must stay
        window.resize(300, 200);
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(qRgb(0, 0, 255));
        resources.Add(TIconResources::kApplicationIconName, TIconImage::Encode4Bit(image, 16));
        icon = std::make_unique<TNotifyIcon>(std::make_unique<TQtTrayArea>(),
                                             std::make_unique<TQtAppTaskbar>(&window), resources);
        icon->SetNotify(true);
    }
    void TearDown() override {
        icon.reset();
        window.hide();
        trayHost.reset();
        windowManager.reset();
    }

    void StartTrayHost() {
        trayHost = std::make_unique<fw_test::ChildProcess>(std::vector<std::string>{
            "trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width", "100",
            "--heighttype", "pixel", "--height", "24"});
        ASSERT_TRUE(PumpUntil([&] { return icon->Docked(); }, kWaitMs)) << "the icon was never docked";
    }

    xcb_window_t XWindow() {
        window.winId();
        return xcb_window_t(window.windowHandle()->winId());
    }
    bool Skips() {
        return x11.HasAtom(XWindow(), "_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR") &&
               x11.HasAtom(XWindow(), "_NET_WM_STATE", "_NET_WM_STATE_SKIP_PAGER");
    }
    bool SkipsNeither() {
        return !x11.HasAtom(XWindow(), "_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR") &&
               !x11.HasAtom(XWindow(), "_NET_WM_STATE", "_NET_WM_STATE_SKIP_PAGER");
    }
    bool StaysOnTop() { return x11.HasAtom(XWindow(), "_NET_WM_STATE", "_NET_WM_STATE_ABOVE"); }
    // Shown and taken in by the window manager.
    void ShowManaged() {
        window.show();
        ASSERT_TRUE(PumpUntil([&] { return x11.HasProperty(XWindow(), "_NET_FRAME_EXTENTS") && !x11.ScreenRect(XWindow()).isEmpty(); }, kWaitMs))
            << "the window manager did not take the window";
    }

    fw_test::TempDir dir;
    fw_test::XcbReader x11;
    std::unique_ptr<fw_test::ChildProcess> windowManager;
    std::unique_ptr<fw_test::ChildProcess> trayHost;
    TIconResources resources;
    QWidget window;
    std::unique_ptr<TNotifyIcon> icon;
};

TEST_F(AppTaskbarTest, HiddenWindowCarriesTheStatesIntoItsShowing) {
    ASSERT_NO_FATAL_FAILURE(StartTrayHost());
    icon->SetApplicationHide(true);
    // Written by the program's own connection to the server: the test's sees it once the server has it.
    EXPECT_TRUE(PumpUntil([&] { return Skips(); }, kWaitMs)) << "the hidden window's own property lacks the states";
    ShowManaged();
    EXPECT_TRUE(Skips()) << "the states were lost when the window was shown";
    EXPECT_TRUE(StaysOnTop());

    // The window manager forgets a withdrawn window's states (once it has taken WM_STATE away, it is
    // done with the window); the next showing asks again.
    window.hide();
    ASSERT_TRUE(PumpUntil([&] { return !x11.HasProperty(XWindow(), "WM_STATE"); }, kWaitMs));
    ShowManaged();
    EXPECT_TRUE(PumpUntil([&] { return Skips(); }, kWaitMs)) << "shown again with a task-bar button";

    window.hide();
    icon->SetApplicationHide(false);
    EXPECT_TRUE(PumpUntil([&] { return SkipsNeither(); }, kWaitMs));
}

TEST_F(AppTaskbarTest, ShownWindowAsksTheWindowManager) {
    ASSERT_NO_FATAL_FAILURE(StartTrayHost());
    ShowManaged();
    ASSERT_TRUE(SkipsNeither());
    icon->SetApplicationHide(true);
    EXPECT_TRUE(PumpUntil([&] { return Skips(); }, kWaitMs)) << "the window manager was not asked";
    EXPECT_TRUE(StaysOnTop());
    icon->SetApplicationHide(false);
    EXPECT_TRUE(PumpUntil([&] { return SkipsNeither(); }, kWaitMs)) << "the task-bar button did not come back";
    EXPECT_TRUE(StaysOnTop());
    EXPECT_TRUE(window.isVisible());
}

// The tray host comes and goes while the window is shown: the button goes with the icon's docking and
// comes back when the host has gone; the window's own state stays.
TEST_F(AppTaskbarTest, ButtonFollowsATrayHostThatComesAndGoes) {
    icon->SetApplicationHide(true);
    ShowManaged();
    EXPECT_TRUE(SkipsNeither()) << "off the task bar with no tray to show the icon in";
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        ASSERT_NO_FATAL_FAILURE(StartTrayHost());
        EXPECT_TRUE(PumpUntil([&] { return Skips(); }, kWaitMs)) << "docked, and still on the task bar";
        trayHost.reset();
        EXPECT_TRUE(PumpUntil([&] { return !icon->Docked() && SkipsNeither(); }, kWaitMs))
            << "the tray host went and the button stayed away";
        EXPECT_TRUE(StaysOnTop());
    }
}

}  // namespace
