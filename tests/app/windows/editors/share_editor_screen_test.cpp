// The share editor on a real X11 desktop of the test's own under a real window manager (openbox), at
// the screen size the test run names (FW_TEST_DESKTOP_SIZE): with every protocol, opened and switched
// while shown, the dialog stays inside the monitor's available area with OK and Cancel in sight, and
// has the same size for a protocol at every opening. The small desktop (800 x 600) is too small for the
// web-server part, which is then cut and scrolls; the large one (1600 x 900) shows it whole.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QEvent>
#include <QWindow>
#include <filesystem>
#include <memory>

#include "app/lists/capture_list.h"
#include "app/lists/http_server_list.h"
#include "app/windows/editors/ScreenCapture_StreameSet_Form.h"
#include "engine/capture/ScreenCaptureParams.h"
#include "engine/http/capture_http_server.h"
#include "tests/support/event_pump.h"
#include "tests/components/private_desktop.h"

namespace {

using namespace std::chrono_literals;

::testing::Environment* const kDesktop = ::testing::AddGlobalTestEnvironment(new fw_test::PrivateDesktop);

using fw_test::PumpUntil;

constexpr std::chrono::milliseconds kWaitMs{10000};

// The key presses that reached a widget, seen before the widget's own handling.
class TKeyPressCount : public QObject {
public:
    explicit TKeyPressCount(QWidget& widget) { widget.installEventFilter(this); }
    size_t Count() const { return count_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) ++count_;
        return QObject::eventFilter(watched, event);
    }

private:
    size_t count_ = 0;
};

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

    // Framed by the window manager, and the dialog where the X server has it: the placing for the
    // frame has reached the server.
    bool Settled() {
        return PumpUntil(
            [&] {
                const QWindow* window = editor.windowHandle();
                if (!window) return false;
                const xcb_window_t id = xcb_window_t(window->winId());
                return x11.HasProperty(id, "_NET_FRAME_EXTENTS") && x11.ScreenRect(id) == editor.geometry();
            },
            kWaitMs);
    }
    // The web-server part does not fit the small desktop: the dialog is cut and its parts scroll.
    bool Cut() const { return editor.Scroll_Box->verticalScrollBar()->maximum() > 0; }
    static bool SmallDesktop() {
        return QGuiApplication::primaryScreen()->size() ==
               QSize(fw_test::PrivateDesktop::kWidth, fw_test::PrivateDesktop::kHeight);
    }
    // The frame and both buttons inside the available area of the dialog's monitor.
    void ExpectOnScreen(const char* when) {
        SCOPED_TRACE(when);
        const QRect area = editor.screen()->availableGeometry();
        const QRect frame = editor.frameGeometry();
        EXPECT_TRUE(area.contains(frame)) << "frame " << frame.x() << "," << frame.y() << " " << frame.width()
                                          << "x" << frame.height() << " on " << area.width() << "x" << area.height();
        for (QPushButton* button : {editor.OK_BitBtn, editor.Cancel_BitBtn}) {
            const QRect place(button->mapToGlobal(QPoint(0, 0)), button->size());
            EXPECT_TRUE(button->isVisible() && area.contains(place)) << button->text().toStdString();
            EXPECT_FALSE(button->visibleRegion().isEmpty()) << button->text().toStdString() << " is covered";
        }
    }
    void ShowWithProtocol(uint8_t protocol) {
        share->Protocol = protocol;
        editor.LoadShare(share, engine::kCapKindMonitor);
        editor.show();
        ASSERT_TRUE(Settled()) << "the window manager did not take the dialog";
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
            ExpectOnScreen("opened");
            if (protocol == engine::kShareProtocolHttp)
                EXPECT_EQ(Cut(), SmallDesktop()) << "cut on the small desktop only, whole on the large one";
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
    ASSERT_TRUE(Settled());
    ExpectOnScreen("switched to HTTP while shown");
    EXPECT_EQ(Cut(), SmallDesktop());
    EXPECT_EQ(editor.size(), sizeOf[engine::kShareProtocolHttp]);
}

// The web-server choice shows a whole entry and takes no typed keys.
TEST_F(ShareEditorScreenTest, WebServerChoiceIsWholeAndDropsKeys) {
    ShowWithProtocol(engine::kShareProtocolHttp);
    QComboBox& choice = *editor.WebServer_ComboBox;
    EXPECT_GE(choice.width(), choice.fontMetrics().horizontalAdvance(choice.currentText()));
    const int before = choice.currentIndex();
    servers.Append(std::make_shared<app::THttpServerEntry>(std::make_unique<engine::TCaptureHttpServer>(1, "", nullptr)));
    editor.FillWebServerList(*share);
    choice.setFocus();
    TKeyPressCount presses(choice);
    const std::vector<std::string> keys = {"Down", "End", "x"};
    std::vector<std::string> xdo = {"key", "--window", std::to_string(editor.winId())};
    xdo.insert(xdo.end(), keys.begin(), keys.end());
    ASSERT_TRUE(fw_test::Xdo(xdo));
    ASSERT_TRUE(PumpUntil([&] { return presses.Count() == keys.size(); }, kWaitMs))
        << presses.Count() << " of " << keys.size() << " keys reached the choice";
    EXPECT_EQ(choice.currentIndex(), before);
}

}  // namespace
