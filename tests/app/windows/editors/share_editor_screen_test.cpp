// The share editor on a real X11 desktop of the test's own under a real window manager (openbox), at
// the screen size the test run names (FW_TEST_DESKTOP_SIZE): with every protocol, opened and switched
// while shown, the dialog stays inside the monitor's available area with OK and Cancel in sight, and
// has the same size for a protocol at every opening. The small desktop (800 x 600) is too small for the
// web-server part, which is then cut and scrolls; the large one (1600 x 900) shows it whole.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QWindow>
#include <filesystem>
#include <memory>

#include "app/lists/capture_list.h"
#include "app/lists/http_server_list.h"
#include "app/windows/editors/ScreenCapture_StreameSet_Form.h"
#include "app/windows/editors/ShareWebServerPage.h"
#include "engine/capture/settings/ScreenCaptureParams.h"
#include "engine/http/capture_http_server.h"
#include "tests/components/private_desktop.h"
#include "tests/support/event_count.h"
#include "tests/support/event_pump.h"

namespace {

using namespace std::chrono_literals;

::testing::Environment* const kDesktop = ::testing::AddGlobalTestEnvironment(new fw_test::PrivateDesktop);

using fw_test::PumpUntil;

constexpr std::chrono::milliseconds kWaitMs{10000};

class ShareEditorScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        windowManager = fw_test::StartWindowManager(dir / "started", kWaitMs);
        ASSERT_TRUE(windowManager) << "the window manager did not come up";
        auto server = std::make_unique<engine::TCaptureHttpServer>(0, "", nullptr);
        server->Root = (dir.path() / "a rather long folder name for the web root" / "of this server").string() + "/";
        servers.Append(std::make_shared<app::THttpServerEntry>(std::move(server)));
        share = std::make_shared<engine::TCaptureStreamer>();
        share->SubDir = "cam";
    }
    void TearDown() override {
        editor.hide();
        windowManager.reset();
    }

    // The web-server part does not fit the small desktop: the dialog is cut and its parts scroll.
    bool Cut() const { return editor.Scroll_Box->verticalScrollBar()->maximum() > 0; }
    static bool SmallDesktop() {
        return QGuiApplication::primaryScreen()->size() ==
               QSize(fw_test::PrivateDesktop::kWidth, fw_test::PrivateDesktop::kHeight);
    }
    // What of the dialog lies outside the available area of its monitor, as the X server has the dialog
    // and the window manager its frame: the frame, OK, Cancel; empty when all is inside.
    std::string OffScreen() {
        const QWindow* window = editor.windowHandle();
        if (!window) return "no window";
        const xcb_window_t id = xcb_window_t(window->winId());
        const std::optional<QMargins> extents = x11.FrameExtents(id);
        if (!extents) return "not framed by the window manager";
        const QRect client = x11.ScreenRect(id);
        if (client != editor.geometry()) return "not yet where the dialog put itself";
        const QRect area = editor.screen()->availableGeometry();
        const QRect frame = client.marginsAdded(*extents);
        std::string off;
        if (!area.contains(frame))
            off += "frame " + std::to_string(frame.x()) + "," + std::to_string(frame.y()) + " " +
                   std::to_string(frame.width()) + "x" + std::to_string(frame.height()) + " on " +
                   std::to_string(area.width()) + "x" + std::to_string(area.height()) + "; ";
        for (QPushButton* button : {editor.OK_BitBtn, editor.Cancel_BitBtn}) {
            const QRect place(button->mapToGlobal(QPoint(0, 0)), button->size());
            if (!button->isVisible() || !area.contains(place) || button->visibleRegion().isEmpty())
                off += button->text().toStdString() + " out of sight; ";
        }
        return off;
    }
    // Waits until the dialog is framed and fitted into its monitor as the X server has it: the fit for
    // the window manager's frame has reached the server, and the dialog's layout has followed.
    void ExpectOnScreen(const char* when) {
        EXPECT_TRUE(PumpUntil([&] { return OffScreen().empty(); }, kWaitMs)) << when << ": " << OffScreen();
    }
    void ShowWithProtocol(uint8_t protocol) {
        share->Protocol = protocol;
        editor.LoadShare(share, engine::kCapKindMonitor);
        editor.show();
        ExpectOnScreen("opened");
    }

    fw_test::TempDir dir;
    fw_test::XcbReader x11;
    std::unique_ptr<fw_test::ChildProcess> windowManager;
    app::THttpServerList servers;
    app::TCaptureList captures;
    app::TScreenCapture_StreameSet_Form editor{app::TShareEditorContext{&servers, &captures}};
    engine::PCaptureStreamer share;
};

TEST_F(ShareEditorScreenTest, EveryProtocolFitsItsMonitorWithItsButtonsAndKeepsItsSize) {
    std::map<int, QSize> sizeOf;
    for (int opening = 1; opening <= 2; ++opening) {
        for (const uint8_t protocol : {engine::kShareProtocolHttp, engine::kShareProtocolUdp}) {
            SCOPED_TRACE("opening " + std::to_string(opening) + ", protocol " + std::to_string(protocol));
            ShowWithProtocol(protocol);
            if (protocol == engine::kShareProtocolHttp) {
                EXPECT_EQ(Cut(), SmallDesktop()) << "cut on the small desktop only, whole on the large one";
            }
            if (opening == 1)
                sizeOf[protocol] = editor.size();
            else
                EXPECT_EQ(editor.size(), sizeOf[protocol]) << "another size than at the first opening";
            editor.hide();
        }
    }
    // Switched while shown, as the user does: UDP first, then the larger web-server part.
    ShowWithProtocol(engine::kShareProtocolUdp);
    editor.Protocol_ComboBox->setCurrentIndex(0);
    editor.ArrangeProtocol();
    ExpectOnScreen("switched to HTTP while shown");
    EXPECT_EQ(Cut(), SmallDesktop());
    EXPECT_EQ(editor.size(), sizeOf[engine::kShareProtocolHttp]);
}

// The web-server choice shows a whole entry and takes no typed keys.
TEST_F(ShareEditorScreenTest, WebServerChoiceIsWholeAndDropsKeys) {
    ShowWithProtocol(engine::kShareProtocolHttp);
    QComboBox& choice = *editor.WebServerPage->WebServer_ComboBox;
    EXPECT_GE(choice.width(), choice.fontMetrics().horizontalAdvance(choice.currentText()));
    const int before = choice.currentIndex();
    servers.Append(std::make_shared<app::THttpServerEntry>(std::make_unique<engine::TCaptureHttpServer>(1, "", nullptr)));
    editor.WebServerPage->FillWebServerList(*share);
    choice.setFocus();
    const fw_test::TEventCount presses(choice, QEvent::KeyPress);
    const std::vector<std::string> keys = {"Down", "End", "x"};
    std::vector<std::string> xdo = {"key", "--window", std::to_string(editor.winId())};
    xdo.insert(xdo.end(), keys.begin(), keys.end());
    ASSERT_TRUE(fw_test::Xdo(xdo));
    ASSERT_TRUE(PumpUntil([&] { return size_t(presses.Count()) == keys.size(); }, kWaitMs))
        << presses.Count() << " of " << keys.size() << " keys reached the choice";
    EXPECT_EQ(choice.currentIndex(), before);
}

}  // namespace
