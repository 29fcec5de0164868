// Where the main window's settings sequence puts the settings dialog and where the main window itself
// goes, on a real X11 desktop of the test's own under a real window manager (openbox). The desktop is
// split into two monitors side by side by a display layer of tables (Xvfb has one RandR monitor): the
// dialog is centred on the monitor that holds the main window's top-left corner, and the main window
// snaps to the edges of its monitor's work area.
#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QWindow>
#include <filesystem>
#include <memory>

#include "app/mainform/MainForm.h"
#include "app/parts/MainWindowParts.h"
#include "app/windows/settings_dialog/SettingsForm.h"
#include "platform/display/fake_display.h"
#include "tests/app/mainform/main_form_fixture.h"
#include "tests/common/dialog_test_support.h"
#include "tests/support/event_pump.h"
#include "tests/components/private_desktop.h"

namespace {

using namespace std::chrono_literals;

::testing::Environment* const kDesktop = ::testing::AddGlobalTestEnvironment(new fw_test::PrivateDesktop);

using fw_test::PumpUntil;

constexpr std::chrono::milliseconds kWaitMs{10000};
constexpr int kMonitorWidth = 1000;  // two of them on the 2000 x 900 desktop
constexpr int kMonitorHeight = 900;
constexpr int kWorkAreaTop = 30;  // a panel along the top of the second monitor

class MonitorPlacementTest : public ::testing::Test {
protected:
    void SetUp() override {
        windowManager = fw_test::StartWindowManager(dir / "started", kWaitMs);
        ASSERT_TRUE(windowManager) << "the window manager did not come up";
        auto display = std::make_shared<platform::TFakeDisplay>();
        platform::TMonitorInfo second = platform::FakeMonitor(kMonitorWidth, 0, 2 * kMonitorWidth, kMonitorHeight);
        second.WorkArea.Top = kWorkAreaTop;
        display->SetMonitors({platform::FakeMonitor(0, 0, kMonitorWidth, kMonitorHeight, true), second});
        platform::SetCurrentDisplay(display);

        fw_test::PrepareMainFormFolder(dir.path(), FW_BIN_DIR);
        fw_test::WriteFolderCaptureList(dir / "capture.xml", "Folder job", dir / "drop", "cam");
        app::TLumora_MainForm::TOptions options;
        options.Parts = windows.Parts();
        options.Dialogs = std::make_shared<fw_test::TFakeMainFormDialogs>();
        options.EndProcess = [](int) {};
        form = std::make_unique<app::TLumora_MainForm>(std::move(options));
        windows.Attach(*form);
        ASSERT_TRUE(form->FormCreate());
        form->show();
        ASSERT_TRUE(PumpUntil([&] { return form->StartUpDone(); }, kWaitMs)) << "the one-shot never ran";
    }
    void TearDown() override {
        if (form) form->close();
        form.reset();
        windowManager.reset();
        platform::SetCurrentDisplay(nullptr);
    }

    // The window is where the X server has it: every placing asked for has reached the server.
    bool ServerHas(const QWidget& window) {
        return x11.ScreenRect(xcb_window_t(window.winId())) == window.geometry();
    }

    // Waits until the program has taken in every event the X server sent it so far: the window manager's
    // news of an earlier placing, taken in late, would snap the window from where it was.
    bool ProgramCaughtUp() {
        struct MarkerFilter : QAbstractNativeEventFilter {
            xcb_atom_t marker = XCB_ATOM_NONE;
            bool seen = false;
            bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
                const auto* event = static_cast<const xcb_generic_event_t*>(message);
                if (type == "xcb_generic_event_t" && (event->response_type & 0x7F) == XCB_CLIENT_MESSAGE &&
                    reinterpret_cast<const xcb_client_message_event_t*>(event)->type == marker)
                    seen = true;
                return false;
            }
        } filter;
        filter.marker = x11.Atom("FW_TEST_CAUGHT_UP");
        QCoreApplication::instance()->installNativeEventFilter(&filter);
        x11.SendMarker(xcb_window_t(form->winId()), filter.marker);
        const bool seen = PumpUntil([&] { return filter.seen; }, kWaitMs);
        QCoreApplication::instance()->removeNativeEventFilter(&filter);
        return seen;
    }

    // Moves the main window and waits until the X server has it there (or snapped from there).
    void MoveMainWindow(QPoint to) {
        EXPECT_TRUE(ProgramCaughtUp()) << "the program never took in the marker";
        form->move(to);
        EXPECT_TRUE(PumpUntil([&] { return ServerHas(*form); }, kWaitMs)) << "the server never had the main window";
    }

    // The settings dialog's frame as the window manager drew it, taken while the dialog is up, once the
    // dialog is centred on centre as the server has it (or when that never came).
    QRect SettingsFrameAtOpening(QPoint centre) {
        QRect frame;
        fw_test::ModalDriver modal;
        modal.On<app::TSettings_Form>(
            [&](app::TSettings_Form& settings) {
                const auto centred = [&] {
                    frame = settings.frameGeometry();
                    return ServerHas(settings) && std::abs(frame.center().x() - centre.x()) <= 1 &&
                           std::abs(frame.center().y() - centre.y()) <= 1;
                };
                PumpUntil(centred, kWaitMs);
                fw_test::UserClick(*settings.Cancel_BitBtn);
            },
            // Framed by the window manager and placed for that frame.
            [](app::TSettings_Form& settings) {
                return settings.windowHandle() && settings.windowHandle()->isExposed() &&
                       settings.frameGeometry() != settings.geometry();
            });
        form->OpenSettings();
        EXPECT_TRUE(modal.Done());
        return frame;
    }

    fw_test::TempDir dir;
    fw_test::XcbReader x11;
    std::unique_ptr<fw_test::ChildProcess> windowManager;
    app::TMainWindowParts windows;  // outlives the form
    std::unique_ptr<app::TLumora_MainForm> form;
};

TEST_F(MonitorPlacementTest, SettingsDialogIsCentredOnTheMonitorOfTheMainWindowsCorner) {
    const struct {
        const char* what;
        QPoint mainWindowAt;
        QPoint monitorCentre;
    } cases[] = {
        {"first monitor", {100, 100}, {kMonitorWidth / 2, kMonitorHeight / 2}},
        {"second monitor", {kMonitorWidth + 100, 100}, {kMonitorWidth + kMonitorWidth / 2, kMonitorHeight / 2}},
        // The corner decides, though most of the window is on the second monitor.
        {"corner on the first", {kMonitorWidth - 100, 200}, {kMonitorWidth / 2, kMonitorHeight / 2}},
        {"second again", {kMonitorWidth + 200, 300}, {kMonitorWidth + kMonitorWidth / 2, kMonitorHeight / 2}},
    };
    for (const auto& c : cases) {
        MoveMainWindow(c.mainWindowAt);
        ASSERT_EQ(form->pos(), c.mainWindowAt) << c.what;
        const QRect frame = SettingsFrameAtOpening(c.monitorCentre);
        ASSERT_TRUE(frame.isValid()) << c.what;
        EXPECT_LE(std::abs(frame.center().x() - c.monitorCentre.x()), 1) << c.what << ": " << frame.x();
        EXPECT_LE(std::abs(frame.center().y() - c.monitorCentre.y()), 1) << c.what << ": " << frame.y();
    }
}

TEST_F(MonitorPlacementTest, MainWindowSnapsToItsMonitorsWorkAreaEdges) {
    const int width = form->frameGeometry().width();
    const int height = form->frameGeometry().height();
    const struct {
        const char* what;
        QPoint to;
        QPoint expected;
    } cases[] = {
        {"near the top-left corner", {6, 9}, {0, 0}},
        {"ten pixels off stays", {10, 10}, {10, 10}},
        {"near the first monitor's right edge", {kMonitorWidth - width - 7, 200}, {kMonitorWidth - width, 200}},
        {"near the second monitor's left edge", {kMonitorWidth + 4, 200}, {kMonitorWidth, 200}},
        {"near the second work area's top", {kMonitorWidth + 100, kWorkAreaTop + 5}, {kMonitorWidth + 100, kWorkAreaTop}},
        {"near the bottom", {300, kMonitorHeight - height - 3}, {300, kMonitorHeight - height}},
        {"in the middle", {300, 200}, {300, 200}},
    };
    for (const auto& c : cases) {
        MoveMainWindow(c.to);
        EXPECT_TRUE(PumpUntil([&] { return form->frameGeometry().topLeft() == c.expected && ServerHas(*form); }, kWaitMs))
            << c.what << ": at " << form->frameGeometry().x() << "," << form->frameGeometry().y();
    }
}

}  // namespace
