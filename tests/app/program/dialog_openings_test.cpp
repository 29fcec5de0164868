// The share editor and the settings dialog of Framewick itself, run as a second process on a 1280 x 900
// desktop of the test's own under a real window manager (openbox) and a tray host (trayer) that keeps
// the bottom 24 pixels of the screen for itself, driven by real X input (xdotool). Each dialog is
// opened, closed with Escape and opened again, as a user does: at every opening the X server holds the
// same picture of it as at the first (the share editor whole, with every control in it; the settings
// dialog's page tree) at the same place, and the share editor switched to HTTP / HLS lies inside the
// work area. Where the program's controls lie the test learns from the same windows made in its own
// process on the same desktop (settings_clicks.h for the tool bar's Configuration button), and checks
// that the editors look alike there.
#include <gtest/gtest.h>
#include <signal.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QStyle>
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "app/lists/capture_list.h"
#include "app/lists/http_server_list.h"
#include "app/windows/editors/CaptureSettings_Form.h"
#include "app/windows/editors/ScreenCapture_StreameSet_Form.h"
#include "app/windows/settings_dialog/SettingsForm.h"
#include "engine/settings/program_state.h"
#include "tests/app/program/framewick_child.h"
#include "tests/app/program/settings_clicks.h"
#include "tests/app/windows/editors/capture_entry_fixture.h"
#include "tests/components/private_desktop.h"
#include "tests/support/event_pump.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kWindowWithin = 90s;  // from the program's start, or a click, to its window (sanitizers, a busy machine)
constexpr auto kClosingWithin = 30s;
constexpr auto kSettledAfter = 300ms;  // a picture that has not changed for this long is the one the user sees
constexpr int kTrayHeightPx = 24;
constexpr const char* kCaptureEditorCaption = "Setup Capture-Service";
constexpr const char* kShareEditorCaption = "Share Settings";

::testing::Environment* const kDesktop = ::testing::AddGlobalTestEnvironment(new fw_test::PrivateDesktop);

std::string Text(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

// A window as the user sees it: where the X server has its client area, the window manager's frame
// around it, and its picture.
struct TWindowLook {
    QRect Client;
    QMargins Frame;
    QImage Picture;
    QRect Outer() const { return Client.marginsAdded(Frame); }
    std::string Place() const { return "client " + Text(Client) + ", frame " + Text(Outer()); }
};

class DialogOpeningsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        places = std::make_unique<fw_test::TSettingsPlaces>(fw_test::OwnSettingsPlaces(fw_test::ScratchRoot() / "own"));
    }
    static void TearDownTestSuite() { places.reset(); }

    void SetUp() override {
        ASSERT_TRUE(program.ok());
        windowManager = fw_test::StartWindowManager(root / "wm-started", kWindowWithin);
        ASSERT_TRUE(windowManager) << "the window manager did not come up";
        tray = std::make_unique<fw_test::ChildProcess>(std::vector<std::string>{
            "trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width", "100",
            "--heighttype", "pixel", "--height", std::to_string(kTrayHeightPx), "--SetPartialStrut", "true"});
        const QRect expected(0, 0, 1280, 900 - kTrayHeightPx);
        ASSERT_EQ(QGuiApplication::primaryScreen()->size(), QSize(1280, 900)) << "the desktop is not the size asked for";
        ASSERT_TRUE(fw_test::PumpUntil(
            [&] { return x11.WorkArea() == expected && QGuiApplication::primaryScreen()->availableGeometry() == expected; },
            kWindowWithin))
            << "the tray host did not take its strip: the work area is " << Text(x11.WorkArea());
        fs::create_directories(root / "www");
        fw_test::WriteFile(program / "httpserv.xml",
                           "<HTTP_SERVER_LIST><HTTP_SERVER_LIST_ENTRY><idx>1</idx><ipaddr>2130706433</ipaddr><port>" +
                               std::to_string(webPort) + "</port><root>" + (root / "www").string() +
                               "/</root><auto>True</auto><ExtHttpServer>False</ExtHttpServer>"
                               "<Authentication>False</Authentication></HTTP_SERVER_LIST_ENTRY></HTTP_SERVER_LIST>");
    }
    void TearDown() override {
        if (framewick && framewick->running()) {
            ::kill(framewick->pid(), SIGTERM);
            EXPECT_TRUE(framewick->WaitForExit(kClosingWithin).has_value()) << "the program did not end";
        }
    }

    void Start() {
        framewick = program.Start({}, {"QT_QPA_PLATFORM=xcb", "DISPLAY=" + std::string(::getenv("DISPLAY")),
                                       "FRAMEWICK_REGISTRY_HKCU=" + (root / "hkcu").string()});
        ASSERT_TRUE(framewick->running());
    }
    // The window called caption once the window manager has framed it and, for a dialog, given it the
    // keyboard.
    std::optional<xcb_window_t> WaitForWindow(const char* caption, bool dialog = true) {
        std::optional<xcb_window_t> found;
        const auto ready = [&] { return found && x11.FrameExtents(*found) && (!dialog || x11.ActiveWindow() == *found); };
        fw_test::PumpUntil([&] {
            found = x11.ClientCalled(caption);
            return ready() || !framewick->running();
        }, kWindowWithin);
        return ready() ? found : std::nullopt;
    }
    // The test's own window shown, framed and given the keyboard.
    bool ShowOwn(QWidget& window) {
        window.show();
        const xcb_window_t id = xcb_window_t(window.winId());
        return fw_test::PumpUntil([&] { return x11.FrameExtents(id) && x11.ActiveWindow() == id; }, kWindowWithin);
    }
    bool WaitUntilGone(xcb_window_t w) {
        return fw_test::PumpUntil([&] { return x11.ScreenRect(w).isEmpty(); }, kWindowWithin);
    }
    // The window as it has settled (the same place and picture for a while), with the pointer away from it.
    std::optional<TWindowLook> Settled(xcb_window_t w) {
        EXPECT_TRUE(fw_test::Xdo({"mousemove", "--sync", "0", "0"}));
        std::optional<TWindowLook> last;
        auto since = std::chrono::steady_clock::now();
        const bool settled = fw_test::PumpUntil([&] {
            TWindowLook now{x11.ScreenRect(w), x11.FrameExtents(w).value_or(QMargins()), Grab(w)};
            const bool same = last && now.Client == last->Client && now.Frame == last->Frame && now.Picture == last->Picture;
            if (!same) {
                last = now;
                since = std::chrono::steady_clock::now();
            }
            return !now.Client.isEmpty() && std::chrono::steady_clock::now() - since >= kSettledAfter;
        }, kWindowWithin);
        if (!settled) return std::nullopt;
        return last;
    }
    static QImage Grab(xcb_window_t w) {
        return QGuiApplication::primaryScreen()->grabWindow(w).toImage().convertToFormat(QImage::Format_RGB32);
    }
    // The mouse wheel turned one step up at a point of the window.
    static bool WheelUp(xcb_window_t w, QPoint at) {
        return fw_test::Xdo({"mousemove", "--sync", "--window", std::to_string(w), std::to_string(at.x()),
                             std::to_string(at.y()), "click", "4"});
    }
    // Escape on the keyboard, which goes to w, the active window.
    static bool Escape() { return fw_test::Xdo({"key", "Escape"}); }

    fw_test::TempDir root;
    fw_test::FramewickFolder program{FW_FRAMEWICK, root / "prog"};
    const int webPort = fw_test::FreeTcpPort();  // the web server's, which listens once the start-up is done
    fw_test::XcbReader x11;
    std::unique_ptr<fw_test::ChildProcess> windowManager;
    std::unique_ptr<fw_test::ChildProcess> tray;
    std::unique_ptr<fw_test::ChildProcess> framewick;
    static inline std::unique_ptr<fw_test::TSettingsPlaces> places;
};

// Where a control of the test's own window lies in its client area.
QRect PlaceIn(const QWidget& window, const QWidget& control) {
    return QRect(control.mapTo(&window, QPoint(0, 0)), control.size());
}

// The user at a first start with no capture service: the program opens the capture editor; its
// "+" opens the share editor on a new (UDP) share; Escape, "+" again, the protocol turned to HTTP / HLS
// with the mouse wheel, Escape, and once more. Every opening shows the share editor as the first did,
// every switch as the first switch did, and the switched editor lies inside the work area.
TEST_F(DialogOpeningsTest, ShareEditorOpensAsAtItsFirstOpening) {
    // The capture editor and the share editor as the test's own process lays them out on this desktop,
    // with libVLC as the program has it (the own main window of settings_clicks.h found none).
    engine::VlcMissing = false;
    app::TCaptureList captures;
    app::THttpServerList servers;
    app::TScreenCapture_StreameSet_Form ownShareEditor{app::TShareEditorContext{&servers, &captures}};
    fw_test::TCaptureEditorOnNewService ownCapture(captures, ownShareEditor, root);
    app::TCaptureSettings_Form& ownCaptureEditor = *ownCapture.Editor;
    ASSERT_TRUE(ShowOwn(ownCaptureEditor));
    const QRect plus = PlaceIn(ownCaptureEditor, *ownCaptureEditor.Setup_ScreenCapture_Frame1->AddPort_BitBtn);
    const std::optional<TWindowLook> ownCaptureLook = Settled(xcb_window_t(ownCaptureEditor.winId()));
    ownCaptureEditor.hide();
    ownShareEditor.LoadShare(std::make_shared<engine::TCaptureStreamer>(), engine::kCapKindMonitor);
    ASSERT_TRUE(ShowOwn(ownShareEditor));
    const QRect protocol = PlaceIn(ownShareEditor, *ownShareEditor.Protocol_ComboBox);
    const std::optional<TWindowLook> ownShareLook = Settled(xcb_window_t(ownShareEditor.winId()));
    ownShareEditor.hide();
    ASSERT_TRUE(ownCaptureLook && ownShareLook) << "the test's own editors did not settle";

    Start();
    const std::optional<xcb_window_t> captureEditor = WaitForWindow(kCaptureEditorCaption);
    ASSERT_TRUE(captureEditor) << "no capture editor at the first start";
    const std::optional<TWindowLook> captureLook = Settled(*captureEditor);
    ASSERT_TRUE(captureLook);
    ASSERT_EQ(captureLook->Picture.copy(plus), ownCaptureLook->Picture.copy(plus))
        << "the program's capture editor has no \"+\" where the test's own has it (" << Text(plus) << ")";

    constexpr int kOpenings = 3;
    std::optional<TWindowLook> opened[kOpenings], switched[kOpenings];
    for (int opening = 0; opening < kOpenings; ++opening) {
        SCOPED_TRACE("opening " + std::to_string(opening + 1));
        ASSERT_TRUE(fw_test::ClickAt(*captureEditor, plus.center()));
        const std::optional<xcb_window_t> shareEditor = WaitForWindow(kShareEditorCaption);
        ASSERT_TRUE(shareEditor) << "\"+\" opened no share editor";
        opened[opening] = Settled(*shareEditor);
        ASSERT_TRUE(opened[opening]) << "the share editor never settled";
        std::cout << "opening " << opening + 1 << ": " << opened[opening]->Place() << std::endl;
        if (opening == 0) {
            ASSERT_EQ(opened[0]->Picture.copy(protocol), ownShareLook->Picture.copy(protocol))
                << "the program's share editor has no protocol choice where the test's own has it (" << Text(protocol) << ")";
        } else {
            EXPECT_EQ(opened[opening]->Place(), opened[0]->Place());
            EXPECT_TRUE(opened[opening]->Picture == opened[0]->Picture) << "another picture than at the first opening";

            ASSERT_TRUE(WheelUp(*shareEditor, protocol.center()));  // "HTTP / HLS", above "UDP"
            ASSERT_TRUE(fw_test::PumpUntil([&] { return x11.ScreenRect(*shareEditor).height() > opened[opening]->Client.height(); },
                                           kWindowWithin))
                << "the share editor did not grow for HTTP / HLS";
            switched[opening] = Settled(*shareEditor);
            ASSERT_TRUE(switched[opening]) << "the switched share editor never settled";
            const QRect workArea = x11.WorkArea();
            EXPECT_TRUE(workArea.contains(switched[opening]->Outer()))
                << "HTTP / HLS: " << switched[opening]->Place() << " beyond the work area " << Text(workArea);
            std::cout << "opening " << opening + 1 << ", HTTP / HLS: " << switched[opening]->Place() << " in the work area "
                      << Text(workArea) << std::endl;
            if (opening > 1) {
                EXPECT_EQ(switched[opening]->Place(), switched[1]->Place());
                EXPECT_TRUE(switched[opening]->Picture == switched[1]->Picture) << "another picture than after the first switch";
            }
        }
        ASSERT_TRUE(Escape());
        ASSERT_TRUE(WaitUntilGone(*shareEditor)) << "Escape did not close the share editor";
        ASSERT_TRUE(fw_test::PumpUntil([&] { return x11.ActiveWindow() == *captureEditor; }, kWindowWithin));
    }
}

// The settings dialog, opened twice from the tool bar's Configuration button of the main window of a
// program with one capture service: its window and its page tree (the left strip of the dialog, the
// tree and the margin before it) look the same at the second opening as at the first.
TEST_F(DialogOpeningsTest, SettingsTreeOpensAsAtItsFirstOpening) {
    fw_test::WriteFile(program / "capture.xml",
                       "<CAPTURE_LIST><CAPTURE_LIST_ENTRY><name>Capture</name><minimized>False</minimized>"
                       "<autostart>False</autostart><SCREENCAPTURE_PARAMS><capEncoder>2</capEncoder><capKind>5</capKind>"
                       "<capFilesDir>" + root.path().string() + "/</capFilesDir><streamer_list><streamer_list_entry>"
                       "<strProtocol>0</strProtocol><bActive>True</bActive><strLocalDir>live</strLocalDir>"
                       "<strFile>True</strFile></streamer_list_entry></streamer_list></SCREENCAPTURE_PARAMS>"
                       "<webSocketAct>False</webSocketAct><webSocketIdx>-1</webSocketIdx></CAPTURE_LIST_ENTRY></CAPTURE_LIST>");
    const int treeStrip = QApplication::style()->pixelMetric(QStyle::PM_LayoutLeftMargin) + app::TSettings_Form::kPageTreeWidthPx;
    Start();
    const std::optional<xcb_window_t> mainWindow = WaitForWindow(fw_test::kMainWindowCaption, false);
    ASSERT_TRUE(mainWindow) << "no main window";
    std::optional<TWindowLook> opened[2];
    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE("opening " + std::to_string(opening + 1));
        // Clicked once the start-up is done (its last steps start the web server) and the main window
        // stands still.
        ASSERT_TRUE(fw_test::WaitForTcpPort(webPort, kWindowWithin)) << "the start-up never ended";
        ASSERT_TRUE(Settled(*mainWindow)) << "the main window never settled";
        ASSERT_TRUE(fw_test::ClickAt(*mainWindow, places->ConfigurationButton));
        const std::optional<xcb_window_t> settings = WaitForWindow(fw_test::kSettingsCaption);
        ASSERT_TRUE(settings) << "Configuration opened no settings dialog";
        opened[opening] = Settled(*settings);
        ASSERT_TRUE(opened[opening]) << "the settings dialog never settled";
        std::cout << "opening " << opening + 1 << ": " << opened[opening]->Place() << std::endl;
        ASSERT_TRUE(Escape());
        ASSERT_TRUE(WaitUntilGone(*settings)) << "Escape did not close the settings dialog";
    }
    EXPECT_EQ(opened[1]->Place(), opened[0]->Place());
    const QRect tree(0, 0, treeStrip, opened[0]->Client.height());
    EXPECT_TRUE(opened[1]->Picture.copy(tree) == opened[0]->Picture.copy(tree))
        << "the page tree looks otherwise than at the first opening";
}

}  // namespace
