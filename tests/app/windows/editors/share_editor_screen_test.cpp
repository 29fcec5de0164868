// The share editor on a real X11 desktop of the test's own under a real window manager (openbox), at
// the screen size the test run names (FW_TEST_DESKTOP_SIZE): with every protocol, opened and switched
// while shown, the dialog stays inside the monitor's available area with OK and Cancel in sight, and
// has the same size for a protocol at every opening; opened again through the capture editor, it shows
// itself and every control as at its first opening. The small desktop (800 x 600) is too small for the
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
#include "app/windows/base/ModalRunner.h"
#include "app/windows/editors/CaptureSettings_Form.h"
#include "app/windows/editors/ScreenCapture_StreameSet_Form.h"
#include "app/windows/editors/ShareWebServerPage.h"
#include "engine/capture/settings/ScreenCaptureParams.h"
#include "engine/http/capture_http_server.h"
#include "tests/app/windows/editors/capture_entry_fixture.h"
#include "tests/common/dialog_test_support.h"
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
    // What the user sees of the dialog: where the X server has its client area and the window manager
    // its frame, and which controls show, where and how large.
    std::vector<std::string> Look() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);  // the controls where they now stand
        const auto text = [](const QRect& r) {
            return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
                   std::to_string(r.height());
        };
        const xcb_window_t id = xcb_window_t(editor.windowHandle()->winId());
        const QMargins frame = x11.FrameExtents(id).value_or(QMargins());
        std::vector<std::string> look{"dialog " + text(x11.ScreenRect(id)) + " in a frame of " +
                                      text(QRect(frame.left(), frame.top(), frame.right(), frame.bottom()))};
        for (const QWidget* control : editor.findChildren<QWidget*>()) {
            if (control->window() != &editor) continue;  // the FTP log is a window of its own
            // A hidden control has no place the user could see.
            look.push_back(std::string(control->metaObject()->className()) + " " + control->objectName().toStdString() +
                           " " + (control->isVisible() ? text(QRect(control->mapTo(&editor, QPoint(0, 0)), control->size()))
                                                       : std::string("hidden")));
        }
        return look;
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

// What the user does: the capture editor's "+" opens the editor on a new share, in the modal loops of
// both dialogs; Escape, "+" again, the protocol switched to HTTP / HLS, and once more. Every opening
// shows the dialog and every control where the first showed them, and every switch where the first
// switch did; the second opening comes at the size of the first, the third after another size.
TEST_F(ShareEditorScreenTest, EveryOpeningThroughTheCaptureEditorLooksLikeTheFirst) {
    constexpr int kOpenings = 3;
    fw_test::TCaptureEditorOnNewService capture(captures, editor, dir);
    app::TCaptureListEntry& entry = capture.Entry;

    const auto placed = [this](app::TScreenCapture_StreameSet_Form&) { return OffScreen().empty(); };
    // "+" is back from the share editor's modal loop once it has dropped the share.
    const auto noShare = [&entry](app::TCaptureSettings_Form&) { return entry.Capture->Streamers->Count() == 0; };
    std::vector<std::string> opened[kOpenings], switched[kOpenings];
    fw_test::ModalDriver modal;
    for (int opening = 0; opening < kOpenings; ++opening) {
        modal.On<app::TCaptureSettings_Form>(
            [](app::TCaptureSettings_Form& e) { fw_test::UserClick(*e.Setup_ScreenCapture_Frame1->AddPort_BitBtn); },
            noShare);
        modal.On<app::TScreenCapture_StreameSet_Form>(
            [&, opening](app::TScreenCapture_StreameSet_Form& e) {
                opened[opening] = Look();
                if (opening > 0) {
                    e.Protocol_ComboBox->setFocus(Qt::MouseFocusReason);
                    fw_test::UserKey(*e.Protocol_ComboBox, Qt::Key_Home);  // "HTTP / HLS", the first protocol
                    EXPECT_TRUE(PumpUntil([&] { return e.Dest_Panel->isVisible() && OffScreen().empty(); }, kWaitMs))
                        << "switched to HTTP: " << OffScreen();
                    switched[opening] = Look();
                }
                fw_test::UserKey(e, Qt::Key_Escape);
            },
            placed);
    }
    modal.On<app::TCaptureSettings_Form>([](app::TCaptureSettings_Form& e) { fw_test::UserKey(e, Qt::Key_Escape); },
                                         noShare);
    EXPECT_EQ(app::RunModal(*capture.Editor), app::kModalCancel);
    EXPECT_TRUE(modal.Done());
    ASSERT_FALSE(opened[0].empty());
    ASSERT_FALSE(switched[1].empty());
    for (int opening = 1; opening < kOpenings; ++opening) {
        SCOPED_TRACE("opening " + std::to_string(opening + 1));
        EXPECT_EQ(opened[opening], opened[0]);
        if (opening > 1) EXPECT_EQ(switched[opening], switched[1]);
    }
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
