// The main window with the real windows plugged in, on a real X11 desktop of the test's own under a
// real window manager (openbox) and a real tray host (trayer), started as the program starts it: the
// tray's Show/Hide of a window minimised by the user or restored by the window manager, the places the
// window is mapped at, its height with every capture panel collapsed, and the window cut to the
// desktop when its expanded panels are taller, whose panels then scroll.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QPoint>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWindow>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "app/mainform/MainForm.h"
#include "app/mainform/QtStartupUi.h"
#include "app/parts/MainTrayIcon.h"
#include "app/parts/MainWindowParts.h"
#include "app/settings/registry_store.h"
#include "app/windows/capture_panel/CaptureFrame.h"
#include "app/windows/capture_panel/CaptureFrameControls.h"
#include "app/windows/toolbar/BottomFrame.h"
#include "app/windows/toolbar/TopFrame.h"
#include "tests/app/mainform/main_form_fixture.h"
#include "tests/app/parts/test_startup_ui.h"
#include "tests/support/event_pump.h"
#include "tests/components/private_desktop.h"

namespace {

::testing::Environment* const kDesktop = ::testing::AddGlobalTestEnvironment(new fw_test::PrivateDesktop);

using fw_test::PumpUntil;

constexpr std::chrono::milliseconds kWaitMs{10000};

// Every place at which the window manager mapped a frame around one client window, as the root window's
// structure events tell it from the recorder's making on.
class FrameMapRecorder {
public:
    FrameMapRecorder() : c_(xcb_connect(nullptr, nullptr)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        const uint32_t mask[] = {XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY};
        std::free(xcb_request_check(c_, xcb_change_window_attributes_checked(c_, root_, XCB_CW_EVENT_MASK, mask)));
    }
    ~FrameMapRecorder() { xcb_disconnect(c_); }
    FrameMapRecorder(const FrameMapRecorder&) = delete;
    FrameMapRecorder& operator=(const FrameMapRecorder&) = delete;

    std::vector<QPoint> PlacesMappedAt(xcb_window_t client) {
        Drain();
        std::vector<QPoint> places;
        for (const auto& [frame, at] : mapped_)
            if (frames_[client].count(frame)) places.push_back(at);
        return places;
    }

private:
    void Drain() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(c_)) {
            switch (event->response_type & 0x7f) {
                case XCB_CREATE_NOTIFY: {
                    const auto* e = reinterpret_cast<xcb_create_notify_event_t*>(event);
                    at_[e->window] = QPoint(e->x, e->y);
                    break;
                }
                case XCB_CONFIGURE_NOTIFY: {
                    const auto* e = reinterpret_cast<xcb_configure_notify_event_t*>(event);
                    at_[e->window] = QPoint(e->x, e->y);
                    break;
                }
                case XCB_REPARENT_NOTIFY: {
                    const auto* e = reinterpret_cast<xcb_reparent_notify_event_t*>(event);
                    if (e->parent != root_) frames_[e->window].insert(e->parent);
                    break;
                }
                case XCB_MAP_NOTIFY: {
                    const auto* e = reinterpret_cast<xcb_map_notify_event_t*>(event);
                    mapped_.push_back({e->window, at_[e->window]});
                    break;
                }
                default:
                    break;
            }
            std::free(event);
        }
    }

    xcb_connection_t* c_;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    std::map<xcb_window_t, QPoint> at_;
    std::map<xcb_window_t, std::set<xcb_window_t>> frames_;  // client: the frames it was put into
    std::vector<std::pair<xcb_window_t, QPoint>> mapped_;
};

class TrayWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        windowManager = fw_test::StartWindowManager(dir / "wm-started", kWaitMs);
        ASSERT_TRUE(windowManager) << "the window manager did not come up";
        fw_test::PrepareMainFormFolder(dir.path(), FW_BIN_DIR);
        WriteCaptures(1);
        fw_test::WriteFile(dir / "framewick.ini", "[General]\nNotifyIcon=1\n");  // the tray icon shows
    }
    void TearDown() override {
        if (start && start->Ui().MainForm()) start->Ui().MainForm()->close();
        start.reset();
        trayHost.reset();
        windowManager.reset();
    }

    void WriteCaptures(int count) {
        std::vector<fw_test::TFolderCapture> captures;
        for (int i = 0; i < count; ++i) captures.push_back({"Job " + std::to_string(i), dir / "drop", "cam" + std::to_string(i)});
        fw_test::WriteFolderCaptureList(dir / "capture.xml", captures);
    }
    // The program block's forms, shown as the program shows them at its start.
    void Start() {
        start = std::make_unique<fw_test::TTestStartupUi>();
        app::TQtStartupUi& ui = start->Ui();
        ui.CreateForms();
        ASSERT_NE(ui.MainForm(), nullptr);
        ASSERT_TRUE(PumpUntil([&] { return ui.MainForm()->StartUpDone(); }, kWaitMs)) << "the one-shot never ran";
        ASSERT_TRUE(PumpUntil([&] { return Shown(); }, kWaitMs)) << "the main window never showed";
    }
    void StartTrayHost() {
        trayHost = std::make_unique<fw_test::ChildProcess>(std::vector<std::string>{
            "trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width", "100",
            "--heighttype", "pixel", "--height", "24"});
        ASSERT_TRUE(PumpUntil([&] { return start->Windows().TrayIcon()->Docked(); }, kWaitMs)) << "the icon was never docked";
    }

    QWidget& Main() { return *start->Ui().MainForm(); }
    xcb_window_t MainWindowId() { return xcb_window_t(Main().winId()); }
    // On the screen, not minimised, as Qt and the X server both have it.
    bool Shown() {
        fw_test::XcbReader x11;
        return Main().isVisible() && !Main().isMinimized() && !x11.ScreenRect(MainWindowId()).isEmpty() &&
               !x11.HasAtom(MainWindowId(), "_NET_WM_STATE", "_NET_WM_STATE_HIDDEN");
    }
    bool Minimised() {
        fw_test::XcbReader x11;
        return Main().isVisible() && Main().isMinimized() && x11.ScreenRect(MainWindowId()).isEmpty();
    }
    // Gone into the tray: not on the screen, and no longer the window manager's.
    bool InTheTray() {
        fw_test::XcbReader x11;
        return !Main().isVisible() && x11.ScreenRect(MainWindowId()).isEmpty() &&
               !x11.HasProperty(MainWindowId(), "WM_STATE");
    }
    void TrayShowHide() { start->Windows().TrayIcon()->Menu().actions().at(0)->trigger(); }  // "Show/Hide"
    bool WindowManager(const std::vector<std::string>& request) {
        std::vector<std::string> argv{"wmctrl", "-i"};
        argv.insert(argv.end(), request.begin(), request.end());
        argv.push_back(std::to_string(MainWindowId()));
        return fw_test::RunProgram(argv) == 0;
    }

    fw_test::TempDir dir;
    std::unique_ptr<fw_test::ChildProcess> windowManager;
    std::unique_ptr<fw_test::ChildProcess> trayHost;
    std::unique_ptr<fw_test::TTestStartupUi> start;
};

// A window the user minimised while the icon is in the tray goes into the tray like a shown one, and
// comes back from there normal.
TEST_F(TrayWindowTest, MinimisedWindowGoesIntoTheDockedTray) {
    Start();
    StartTrayHost();
    ASSERT_EQ(fw_test::RunProgram({"xdotool", "windowminimize", "--sync", std::to_string(MainWindowId())}), 0);
    ASSERT_TRUE(PumpUntil([&] { return Minimised(); }, kWaitMs)) << "the window manager did not minimise it";
    TrayShowHide();
    EXPECT_TRUE(PumpUntil([&] { return InTheTray(); }, kWaitMs)) << "Show/Hide did not put the window into the tray";
    TrayShowHide();
    EXPECT_TRUE(PumpUntil([&] { return Shown(); }, kWaitMs)) << "Show/Hide did not bring it back";
}

// Minimised with no tray, restored by the window manager, then a tray comes: Show/Hide puts the window
// into the tray, and the next one brings it back normal at the first go.
TEST_F(TrayWindowTest, WindowRestoredByTheWindowManagerComesBackNormalFromTheTray) {
    Start();
    TrayShowHide();
    ASSERT_TRUE(PumpUntil([&] { return Minimised(); }, kWaitMs)) << "without a tray Show/Hide did not minimise";
    ASSERT_TRUE(WindowManager({"-a"}));  // the window manager restores and activates it
    ASSERT_TRUE(PumpUntil([&] { return Shown(); }, kWaitMs)) << "the window manager did not restore it";
    StartTrayHost();
    TrayShowHide();
    ASSERT_TRUE(PumpUntil([&] { return InTheTray(); }, kWaitMs)) << "Show/Hide did not put the window into the tray";
    TrayShowHide();
    EXPECT_TRUE(PumpUntil([&] { return Shown(); }, kWaitMs)) << "the window came back minimised";
}

// The stored place is where the window is mapped at its first showing and at every showing from the
// tray: the window manager never puts it anywhere first.
TEST_F(TrayWindowTest, MainWindowIsMappedOnlyAtItsStoredPlace) {
    const QPoint stored(365, 400);
    app::WriteFormOrigin("main", stored.x(), stored.y());
    FrameMapRecorder recorder;
    Start();
    StartTrayHost();
    for (int i = 0; i < 2; ++i) {
        TrayShowHide();
        ASSERT_TRUE(PumpUntil([&] { return InTheTray(); }, kWaitMs)) << i;
        TrayShowHide();
        ASSERT_TRUE(PumpUntil([&] { return Shown(); }, kWaitMs)) << i;
        EXPECT_EQ(Main().frameGeometry().topLeft(), stored) << i;
    }
    const std::vector<QPoint> places = recorder.PlacesMappedAt(MainWindowId());
    EXPECT_EQ(places.size(), 3u) << "the first showing and two from the tray";
    for (const QPoint& at : places) EXPECT_EQ(at, stored) << "mapped at " << at.x() << "," << at.y();
}

// Collapsed or expanded, the panels, the tool bar and the whole status bar fit the window; the X server
// has the window at that height. One capture service collapsed is lower than the scroll box's bars.
class CollapsedPanelsTest : public TrayWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(CollapsedPanelsTest, LeaveTheWholeStatusBarInTheWindow) {
    WriteCaptures(GetParam());
    Start();
    auto* toolBar = fw_test::ChildrenOf<app::TTop_Frame>(Main()).at(0);
    const auto* statusBar = fw_test::ChildrenOf<app::TBottom_Frame>(Main()).at(0);
    for (const bool collapse : {true, false}) {
        SCOPED_TRACE(collapse ? "collapsed" : "expanded");
        toolBar->Min_TBClick();  // "Mininmize/Maximize All"
        int panels = 0;
        for (const app::TCapture_Frame* panel : fw_test::ChildrenOf<app::TCapture_Frame>(Main())) {
            EXPECT_EQ(panel->height() == app::kPanelHeightCollapsed, collapse);
            panels += panel->height();
        }
        ASSERT_EQ(Main().height(), toolBar->height() + panels + statusBar->height());
        ASSERT_TRUE(PumpUntil([&] {
            fw_test::XcbReader x11;
            return x11.ScreenRect(MainWindowId()).height() == Main().height();
        }, kWaitMs)) << "the X server does not have the window at its height";
        EXPECT_EQ(statusBar->geometry(), QRect(0, Main().height() - statusBar->height(), Main().width(), statusBar->height()))
            << "the status bar is at " << statusBar->y() << " in a window " << Main().height() << " tall";
        int top = toolBar->height();
        for (const app::TCapture_Frame* panel : fw_test::ChildrenOf<app::TCapture_Frame>(Main())) {
            EXPECT_EQ(panel->mapTo(&Main(), QPoint(0, 0)).y(), top);
            top += panel->height();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(CaptureServices, CollapsedPanelsTest, ::testing::Values(1, 2));

// Four expanded panels are taller than the 700-pixel desktop: the window is cut to it, the status bar
// stays whole at its bottom, and the panels scroll until the last one shows whole above it.
TEST_F(TrayWindowTest, PanelsTallerThanTheDesktopScrollInAWindowCutToIt) {
    WriteCaptures(4);
    Start();
    const QRect desktop = Main().screen()->availableGeometry();
    const auto* toolBar = fw_test::ChildrenOf<app::TTop_Frame>(Main()).at(0);
    const auto* statusBar = fw_test::ChildrenOf<app::TBottom_Frame>(Main()).at(0);
    const std::vector<app::TCapture_Frame*> panels = fw_test::ChildrenOf<app::TCapture_Frame>(Main());
    ASSERT_EQ(panels.size(), 4u);
    int wanted = toolBar->height() + statusBar->height();
    for (const app::TCapture_Frame* panel : panels) wanted += panel->height();
    ASSERT_GT(wanted, desktop.height()) << "the panels fit the desktop";
    ASSERT_TRUE(PumpUntil([&] {
        fw_test::XcbReader x11;
        const QRect onScreen = x11.ScreenRect(MainWindowId());
        return desktop.contains(onScreen) && onScreen.height() == desktop.height();
    }, kWaitMs)) << "the window is " << Main().height() << " tall at " << Main().y() << " on a desktop "
                 << desktop.height() << " tall";
    EXPECT_EQ(statusBar->geometry(),
              QRect(0, Main().height() - statusBar->height(), Main().width(), statusBar->height()));

    auto* scrollBox = fw_test::ChildrenOf<QScrollArea>(Main()).at(0);
    QScrollBar* bar = scrollBox->verticalScrollBar();
    ASSERT_TRUE(PumpUntil([&] { return bar->isVisible() && bar->maximum() > 0; }, kWaitMs))
        << "the panels do not scroll";
    EXPECT_FALSE(scrollBox->horizontalScrollBar()->isVisible());
    bar->setValue(bar->maximum());
    const app::TCapture_Frame* last = panels.back();
    const QRect lastInView(last->mapTo(scrollBox->viewport(), QPoint(0, 0)), last->size());
    EXPECT_TRUE(scrollBox->viewport()->rect().contains(lastInView))
        << "the last panel is at " << lastInView.y() << " in a view " << scrollBox->viewport()->height() << " tall";
}

}  // namespace
