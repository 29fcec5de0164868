// Hiding the main window into the tray on a real X11 desktop of the test's own, under a real window
// manager (openbox): only while the icon is docked in a real tray host (trayer); without one "_"
// minimises, and a window hidden in a tray that goes away is restored with its task-bar button. A
// start while the icon is docked there keeps the main window hidden and runs its first showing all the
// same.
#include <gtest/gtest.h>

#include <QEvent>
#include <QSystemTrayIcon>
#include <QWidget>
#include <QWindow>
#include <xcb/xcb.h>
#include <filesystem>
#include <memory>

#include "app/parts/MainTrayIcon.h"
#include "tests/app/parts/test_startup_ui.h"
#include "tests/components/private_desktop.h"
#include "tests/support/event_count.h"
#include "tests/support/event_pump.h"

namespace {

using namespace std::chrono_literals;

::testing::Environment* const kDesktop = ::testing::AddGlobalTestEnvironment(new fw_test::PrivateDesktop);

using fw_test::PumpUntil;

constexpr std::chrono::milliseconds kWaitMs{10000};

// A desktop under a window manager, where a tray host can be started.
class TrayDesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        windowManager = fw_test::StartWindowManager(dir / "started", kWaitMs);
        ASSERT_TRUE(windowManager) << "the window manager did not come up";
    }
    void TearDown() override {
        trayHost.reset();
        windowManager.reset();
    }

    // A tray host at the bottom right, once it holds the desktop's notification area; a skip where
    // there is no tray host to start.
    void StartTrayHost() {
        if (fw_test::RunProgram({"sh", "-c", "command -v trayer"}) != 0)
            GTEST_SKIP() << "no tray host: trayer is not installed (scripts/install-deps)";
        trayHost = std::make_unique<fw_test::ChildProcess>(std::vector<std::string>{
            "trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width", "100",
            "--heighttype", "pixel", "--height", "24"});
        ASSERT_TRUE(PumpUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, kWaitMs))
            << "the tray host never held the notification area";
    }

    fw_test::TempDir dir;
    std::unique_ptr<fw_test::ChildProcess> windowManager;
    std::unique_ptr<fw_test::ChildProcess> trayHost;
};

class TrayHideTest : public TrayDesktopTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TrayDesktopTest::SetUp());
        window.resize(300, 200);
        window.show();
        ASSERT_TRUE(PumpUntil([&] { return window.windowHandle() && window.windowHandle()->isExposed(); }, kWaitMs));
        tray = std::make_unique<app::TMainTrayIcon>(&window, app::TTrayMenuActions{});
        tray->SetShown(true);  // as the start does when the setting is on
    }
    void TearDown() override {
        tray.reset();
        window.hide();
        TrayDesktopTest::TearDown();
    }

    void DockIcon() {
        StartTrayHost();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_TRUE(PumpUntil([&] { return tray->Docked(); }, kWaitMs)) << "the icon was never docked";
    }
    bool MinimisedButReachable() { return window.isVisible() && window.isMinimized(); }

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
    ASSERT_NO_FATAL_FAILURE(DockIcon());
    if (IsSkipped()) return;
    EXPECT_FALSE(tray->ShowMainForm());
    tray->ShowHide();
    EXPECT_FALSE(window.isVisible()) << "the window was not hidden into the tray";
    tray->ShowHide();
    EXPECT_TRUE(window.isVisible() && !window.isMinimized());

    tray->ShowHide();
    ASSERT_FALSE(window.isVisible());
    trayHost->Kill();
    EXPECT_TRUE(PumpUntil([&] { return window.isVisible() && !window.isMinimized(); }, kWaitMs))
        << "the window stayed hidden in a tray that is gone";
    fw_test::XcbReader x11;
    EXPECT_TRUE(PumpUntil([&] {
        return !x11.HasAtom(xcb_window_t(window.winId()), "_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR");
    }, kWaitMs)) << "restored without a task-bar button";
}

// The start through the program block's windows while the icon sits docked in the tray and keeps the
// program off the task bar: the main window is never shown, its first showing runs all the same, and
// the capture marked to start starts. From the tray it then comes.
TEST_F(TrayDesktopTest, StartWithTheIconDockedKeepsTheWindowHiddenAndStartsTheCaptures) {
    ASSERT_NO_FATAL_FAILURE(StartTrayHost());
    if (IsSkipped()) return;
    fw_test::PrepareMainFormFolder(dir.path(), FW_BIN_DIR);
    fw_test::WriteHttpServerList(dir / "httpserv.xml", fw_test::FreeTcpPort(), dir / "www");
    fw_test::WriteFolderCaptureList(dir / "capture.xml", "First job", dir / "drop", "cam");  // marked to start

    std::unique_ptr<fw_test::TEventCount> shows;
    fw_test::TTestStartupUi start([&](app::TLumora_MainForm& form) {
        shows = std::make_unique<fw_test::TEventCount>(form, QEvent::Show);
        start.Windows().TrayIcon()->SetShown(true);
        EXPECT_TRUE(PumpUntil([&] { return start.Windows().TrayIcon()->Docked(); }, kWaitMs)) << "the icon was never docked";
    });
    app::TQtStartupUi& ui = start.Ui();
    ui.CreateForms();
    app::TLumora_MainForm* form = ui.MainForm();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return form->StartUpDone(); }, kWaitMs)) << "the first showing never ran";
    EXPECT_TRUE(form->Captures().AnyRunning()) << "the capture marked to start did not start";
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(shows->Count(), 0) << "the main window was shown";

    start.Windows().TrayIcon()->ShowHide();
    EXPECT_TRUE(PumpUntil([&] { return form->isVisible() && !form->isMinimized(); }, kWaitMs))
        << "the tray did not give the window back";
    form->close();
}

}  // namespace
