// Hiding the main window into the tray on a real X11 desktop of the test's own, under a real window
// manager (openbox): only while the icon is docked in a real tray host (trayer); without one "_"
// minimises, and a window hidden in a tray that goes away comes back.
#include <gtest/gtest.h>

#include <QSystemTrayIcon>
#include <QWidget>
#include <QWindow>
#include <filesystem>
#include <memory>

#include "app/parts/MainTrayIcon.h"
#include "tests/support/event_pump.h"
#include "tests/components/private_desktop.h"

namespace {

using namespace std::chrono_literals;

::testing::Environment* const kDesktop = ::testing::AddGlobalTestEnvironment(new fw_test::PrivateDesktop);

using fw_test::PumpUntil;

constexpr std::chrono::milliseconds kWaitMs{10000};

class TrayHideTest : public ::testing::Test {
protected:
    void SetUp() override {
        windowManager = fw_test::StartWindowManager(dir / "started", kWaitMs);
        ASSERT_TRUE(windowManager) << "the window manager did not come up";
        window.resize(300, 200);
        window.show();
        ASSERT_TRUE(PumpUntil([&] { return window.windowHandle() && window.windowHandle()->isExposed(); }, kWaitMs));
        tray = std::make_unique<app::TMainTrayIcon>(&window, app::TTrayMenuActions{});
        tray->SetShown(true);  // as the start does when the setting is on
    }
    void TearDown() override {
        tray.reset();
        window.hide();
        trayHost.reset();
        windowManager.reset();
    }

    void StartTrayHost() {
        trayHost = std::make_unique<fw_test::ChildProcess>(std::vector<std::string>{
            "trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width", "100",
            "--heighttype", "pixel", "--height", "24"});
        ASSERT_TRUE(PumpUntil([&] { return tray->Docked(); }, kWaitMs)) << "the icon was never docked";
    }
    bool MinimisedButReachable() { return window.isVisible() && window.isMinimized(); }

    fw_test::TempDir dir;
    std::unique_ptr<fw_test::ChildProcess> windowManager;
    std::unique_ptr<fw_test::ChildProcess> trayHost;
    QWidget window;
    std::unique_ptr<app::TMainTrayIcon> tray;
};

TEST_F(TrayHideTest, WithoutATrayHostTheWindowIsMinimisedNotHidden) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    fw_test::PumpFor(500ms);  // the icon's own start has run
    EXPECT_FALSE(tray->Docked());
    EXPECT_TRUE(tray->ShowMainForm()) << "a start would keep the window hidden in no tray";
    tray->ShowHide();
    EXPECT_TRUE(PumpUntil([&] { return MinimisedButReachable(); }, kWaitMs));
    tray->ShowHide();  // and back
    EXPECT_TRUE(PumpUntil([&] { return window.isVisible() && !window.isMinimized(); }, kWaitMs));
}

TEST_F(TrayHideTest, DockedIconTakesTheWindowAndGivesItBackWhenTheTrayGoes) {
    StartTrayHost();
    EXPECT_FALSE(tray->ShowMainForm());
    tray->ShowHide();
    EXPECT_FALSE(window.isVisible()) << "the window was not hidden into the tray";
    tray->ShowHide();
    EXPECT_TRUE(window.isVisible() && !window.isMinimized());

    tray->ShowHide();
    ASSERT_FALSE(window.isVisible());
    trayHost->Kill();
    EXPECT_TRUE(PumpUntil([&] { return MinimisedButReachable(); }, kWaitMs))
        << "the window stayed hidden in a tray that is gone";
}

}  // namespace
