// Framewick itself as a second process with its main window on an X server of the test's own, driven
// through real X input (xdotool, XTest) as a user drives it:
// - under openbox, with a tray host (trayer) that comes and goes at the start, while the window is
//   shown, minimised or hidden in the tray, ten times in a row, and with ten hidings into the tray:
//   the window carries _NET_WM_STATE_SKIP_TASKBAR only while the program's icon is docked in a tray,
//   and a window hidden in a tray that goes is restored;
// - with three captures, collapse-all and expand-all from the tool bar, the window dragged down by its
//   title in between (the drag moves it): the window, its last panel and its status bar end inside the
//   work area, under openbox with a tray host that reserves its strip and without one, and on a bare
//   X server. Under a window manager that refuses to move windows and on a screen smaller than the
//   window, the window is cut to the area instead (its panels then scroll) and nothing stays off it.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/windows/capture_panel/CaptureFrameControls.h"
#include "app/windows/toolbar/BottomFrame.h"
#include "app/windows/toolbar/TopFrame.h"
#include "tests/app/program/framewick_child.h"
#include "tests/app/program/main_window_probe.h"
#include "tests/support/MoveRefusingWindowManager.h"
#include "tests/support/PrivateXServer.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using fw_test::TScreenRect;

constexpr int kScreenWidth = 1280;
constexpr auto kWithin = 30s;  // a start, a tray host's docking or a window manager's answer on a busy machine
constexpr auto kClosingWithin = 15s;
constexpr int kCaptures = 3;
constexpr int kTrayHeight = 24;
constexpr int kMainWindowWidth = 550;  // fixed: what tells the main window from the start-up's windows
// The tool bar (app/windows/toolbar): its buttons are 26 pixels wide, 2 in from the right edge, and
// their middle is 14 pixels down; "_" is the second from the right, the collapse-and-expand-all
// button the sixth. The title lies between the left group (Start, Stop, Add, to x 152) and the right.
constexpr int kButtonTop = 14;
constexpr int kMinimizeFromRight = 2 + 26 + 13;
constexpr int kCollapseAllFromRight = 2 + 5 * 26 + 13;
constexpr int kTitleLeft = 275;
constexpr int kBars = app::kToolBarHeight + app::kStatusBarHeight;
constexpr int kExpandedPanel = app::kCaptureFrameTop + app::kFrameHeightExpanded + app::kFrameBottomGap;
constexpr int kWholeHeight = kBars + kCaptures * kExpandedPanel;
constexpr int kCollapsedHeight = kBars + kCaptures * app::kPanelHeightCollapsed;
constexpr uint32_t kNormalState = 1, kIconicState = 3;  // ICCCM WM_STATE

std::string CaptureList(const fs::path& dropFolder) {
    std::string xml = "<CAPTURE_LIST>";
    for (int i = 1; i <= kCaptures; ++i)
        xml += "<CAPTURE_LIST_ENTRY><name>Job " + std::to_string(i) +
               "</name><minimized>False</minimized><autostart>False</autostart><SCREENCAPTURE_PARAMS>"
               "<capEncoder>2</capEncoder><capKind>5</capKind><capFilesDir>" + dropFolder.string() +
               "/</capFilesDir><capiFreq>1</capiFreq><streamer_list></streamer_list></SCREENCAPTURE_PARAMS>"
               "<webSocketAct>False</webSocketAct><webSocketIdx>-1</webSocketIdx></CAPTURE_LIST_ENTRY>";
    return xml + "</CAPTURE_LIST>";
}

// A desktop of the test's own with Framewick on it: three captures of dropped files, the tray icon on.
class MainWindowDesktop {
public:
    explicit MainWindowDesktop(int screenHeight) : server_(kScreenWidth, screenHeight) {}

    // The X server, the program folder; openbox when asked for.
    void SetUp(bool windowManager) {
        ASSERT_TRUE(server_.ok()) << "no private X server";
        ASSERT_TRUE(program_.ok());
        ::setenv("DISPLAY", server_.name().c_str(), 1);  // for xdotool, wmctrl, the window manager and the tray host
        probe_ = std::make_unique<fw_test::MainWindowProbe>(server_.name());
        fs::create_directories(root_ / "drop");
        fw_test::WriteFile(program_ / "capture.xml", CaptureList(root_ / "drop"));
        fw_test::WriteFile(program_ / "framewick.ini", "[General]\nNotifyIcon=1\n");
        if (windowManager) {
            windowManager_ = fw_test::StartWindowManager(root_ / "wm-started", kWithin);
            ASSERT_TRUE(windowManager_) << "the window manager did not come up";
        }
    }
    // Ends the program as the session's end does; it closes cleanly.
    void TearDown() {
        if (framewick_ && framewick_->running()) {
            ::kill(framewick_->pid(), SIGTERM);
            EXPECT_EQ(framewick_->WaitForExit(kClosingWithin), std::optional<int>(0));
        }
        framewick_.reset();
        trayHost_.reset();
        windowManager_.reset();
    }

    // A tray host along the bottom right; strut: it keeps its strip out of the work area.
    void StartTrayHost(bool strut = false) {
        std::vector<std::string> argv{"trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                                      "--width", "100", "--heighttype", "pixel", "--height"};
        argv.push_back(std::to_string(kTrayHeight));
        if (strut) argv.insert(argv.end(), {"--SetDockType", "true", "--SetPartialStrut", "true"});
        trayHost_ = std::make_unique<fw_test::ChildProcess>(argv);
        ASSERT_TRUE(fw_test::WaitUntil([&] { return probe_->TrayHostUp(); }, kWithin)) << "the tray host never came up";
        if (framewick_) {
            ASSERT_TRUE(fw_test::WaitUntil([&] { return probe_->DockedIcon().has_value(); }, kWithin))
                << "the icon was never docked";
        }
    }
    void StopTrayHost() {
        trayHost_.reset();
        ASSERT_TRUE(fw_test::WaitUntil([&] { return !probe_->TrayHostUp() && !probe_->DockedIcon(); }, kWithin))
            << "the tray host did not go";
    }

    // The program, once its main window is the only one of its windows on the screen (the start-up's
    // wait window gone: the main window takes input) and the end of the start-up has laid it out (as
    // tall as its bars and expanded panels, or as the work area). Its registry is the test's own: no
    // place saved by an earlier test moves the window.
    void StartProgram() {
        fs::create_directories(root_ / "hkcu");
        framewick_ =
            program_.Start({}, {"QT_QPA_PLATFORM=xcb", "FRAMEWICK_REGISTRY_HKCU=" + (root_ / "hkcu").string()});
        ASSERT_TRUE(fw_test::WaitUntil([&] {
            const auto found = probe_->MainWindow();
            if (found) main_ = found->first;
            return !framewick_->running() ||
                   (found && found->second.Width == kMainWindowWidth && probe_->ProgramWindowsShown() == 1);
        }, kWithin)) << "the main window never showed alone";
        ASSERT_TRUE(framewick_->running()) << "Framewick ended";
        ASSERT_TRUE(fw_test::WaitUntil([&] {
            const std::optional<TScreenRect> client = probe_->ScreenRect(main_);
            return client && client->Height == std::min(kWholeHeight, probe_->WorkArea().Height);
        }, kWithin)) << "the start-up never laid the main window out";
        if (trayHost_) {
            ASSERT_TRUE(fw_test::WaitUntil([&] { return probe_->DockedIcon().has_value(); }, kWithin))
                << "the icon was never docked";
        }
    }

    // A click at x, y of the main window (x from its right edge when fromRight).
    void Click(int x, int y, bool fromRight = false) {
        const std::optional<TScreenRect> at = probe_->ScreenRect(main_);
        ASSERT_TRUE(at) << "the main window is not on the screen";
        const int left = at->Left + (fromRight ? at->Width - x : x);
        ASSERT_EQ(fw_test::RunProgram({"xdotool", "mousemove", "--sync", std::to_string(left),
                                       std::to_string(at->Top + y), "click", "1"}),
                  0);
    }
    void DoubleClickIcon() {
        const std::optional<TScreenRect> icon = probe_->DockedIcon();
        ASSERT_TRUE(icon) << "no icon in a tray";
        ASSERT_EQ(fw_test::RunProgram({"xdotool", "mousemove", "--sync", std::to_string(icon->Left + icon->Width / 2),
                                       std::to_string(icon->Top + icon->Height / 2), "click", "--repeat", "2",
                                       "--delay", "80", "1"}),
                  0);
    }
    // Presses on the title, moves the pointer by dx, dy and lets go once the window has followed it:
    // true when it did. A window manager that moves the window takes the pointer over only once it
    // has the program's request; the pointer is moved on until the window is there.
    bool DragTitle(int dx, int dy) {
        const std::optional<TScreenRect> client = probe_->ScreenRect(main_), outer = Outer();
        if (!client || !outer) return false;
        const int x = client->Left + kTitleLeft, y = client->Top + kButtonTop;
        if (fw_test::RunProgram(
                {"xdotool", "mousemove", "--sync", std::to_string(x), std::to_string(y), "mousedown", "1"}) != 0)
            return false;
        const std::string toX = std::to_string(x + dx), toY = std::to_string(y + dy);
        const bool followed = fw_test::WaitUntil([&] {
            fw_test::RunProgram(
                {"xdotool", "mousemove", "--sync", std::to_string(x + dx + 1), toY, "mousemove", "--sync", toX, toY});
            const std::optional<TScreenRect> now = Outer();
            return now && now->Left == outer->Left + dx && now->Top == outer->Top + dy;
        }, kWithin);
        return fw_test::RunProgram({"xdotool", "mouseup", "1"}) == 0 && followed;
    }

    fw_test::MainWindowProbe& Probe() { return *probe_; }
    xcb_window_t Main() const { return main_; }
    // The main window with the window manager's frame around it; none while it is not on the screen.
    std::optional<TScreenRect> Outer() { return probe_->ScreenRect(probe_->FrameOf(main_)); }
    std::optional<TScreenRect> Client() { return probe_->ScreenRect(main_); }
    const std::string& Display() const { return server_.name(); }

private:
    fw_test::PrivateXServer server_;
    fw_test::TempDir root_;
    const fw_test::FramewickFolder program_{FW_FRAMEWICK, root_.path() / "prog"};
    std::unique_ptr<fw_test::MainWindowProbe> probe_;
    std::unique_ptr<fw_test::ChildProcess> windowManager_;
    std::unique_ptr<fw_test::ChildProcess> trayHost_;
    std::unique_ptr<fw_test::ChildProcess> framewick_;
    xcb_window_t main_ = XCB_WINDOW_NONE;
};

// ---- the task-bar button follows the icon ---------------------------------------------------------

enum class Act { kStart, kTrayComes, kTrayGoes, kHideButton, kIconDoubleClick, kWindowManagerRestores };
enum class Shown { kNotStarted, kNormal, kMinimised, kInTheTray };

struct TStep {
    Act Action;
    Shown Window;
    bool Button;  // the window has its task-bar button (not checked while it is not on the screen)
};

struct TTaskBarSequence {
    const char* Name;
    std::vector<TStep> Steps;
};

std::vector<TStep> Repeated(std::vector<TStep> before, const std::vector<TStep>& round, int times) {
    for (int i = 0; i < times; ++i) before.insert(before.end(), round.begin(), round.end());
    return before;
}

using enum Act;
using enum Shown;

const TTaskBarSequence kTaskBarSequences[] = {
    {"StartWithoutATrayHost",
     {{kStart, kNormal, true}, {kHideButton, kMinimised, true}, {kWindowManagerRestores, kNormal, true}}},
    {"StartWithATrayHost", {{kTrayComes, kNotStarted, true}, {kStart, kNormal, false}}},
    {"TrayHostComesAndGoesWhileShown",
     {{kStart, kNormal, true}, {kTrayComes, kNormal, false}, {kTrayGoes, kNormal, true}}},
    {"TrayHostComesAndGoesWhileMinimised",
     {{kStart, kNormal, true}, {kHideButton, kMinimised, true}, {kTrayComes, kMinimised, false},
      {kTrayGoes, kMinimised, true}, {kWindowManagerRestores, kNormal, true}}},
    {"TrayHostGoesAndComesWhileHiddenInIt",
     {{kTrayComes, kNotStarted, true}, {kStart, kNormal, false}, {kHideButton, kInTheTray, false},
      {kTrayGoes, kNormal, true}, {kTrayComes, kNormal, false}, {kHideButton, kInTheTray, false},
      {kIconDoubleClick, kNormal, false}}},
    {"TenHideShowRounds",
     Repeated({{kTrayComes, kNotStarted, true}, {kStart, kNormal, false}},
              {{kHideButton, kInTheTray, false}, {kIconDoubleClick, kNormal, false}}, 10)},
    {"TrayHostComesAndGoesTenTimes",
     Repeated({{kStart, kNormal, true}}, {{kTrayComes, kNormal, false}, {kTrayGoes, kNormal, true}}, 10)},
};

class TaskBarButtonTest : public ::testing::TestWithParam<TTaskBarSequence> {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(desktop.SetUp(true)); }
    void TearDown() override { desktop.TearDown(); }

    void Do(Act action) {
        switch (action) {
            case kStart: desktop.StartProgram(); break;
            case kTrayComes: desktop.StartTrayHost(); break;
            case kTrayGoes: desktop.StopTrayHost(); break;
            case kHideButton: desktop.Click(kMinimizeFromRight, kButtonTop, true); break;
            case kIconDoubleClick: desktop.DoubleClickIcon(); break;
            case kWindowManagerRestores:
                ASSERT_EQ(fw_test::RunProgram({"wmctrl", "-i", "-a", std::to_string(desktop.Main())}), 0);
                break;
        }
    }
    bool Is(Shown shown) {
        fw_test::MainWindowProbe& x11 = desktop.Probe();
        const std::optional<uint32_t> state = x11.WmState(desktop.Main());
        switch (shown) {
            case kNotStarted: return desktop.Main() == XCB_WINDOW_NONE;
            case kNormal:
                return x11.Viewable(desktop.Main()) && state == kNormalState &&
                       !x11.HasNetWmState(desktop.Main(), "_NET_WM_STATE_HIDDEN");
            case kMinimised: return !x11.Viewable(desktop.Main()) && state == kIconicState;
            case kInTheTray: return !x11.Viewable(desktop.Main()) && !state && x11.DockedIcon().has_value();
        }
        return false;
    }
    bool HasButton() { return !desktop.Probe().HasNetWmState(desktop.Main(), "_NET_WM_STATE_SKIP_TASKBAR"); }
    std::string Describe() {
        fw_test::MainWindowProbe& x11 = desktop.Probe();
        const std::optional<uint32_t> state = x11.WmState(desktop.Main());
        return std::string(x11.Viewable(desktop.Main()) ? "viewable" : "not viewable") + ", WM_STATE " +
               (state ? std::to_string(*state) : "none") +
               (x11.DockedIcon() ? ", icon docked" : ", no icon in a tray") +
               (HasButton() ? ", with" : ", without") + " a task-bar button";
    }

    MainWindowDesktop desktop{900};
};

TEST_P(TaskBarButtonTest, FollowsTheIconInTheTray) {
    const std::vector<TStep>& steps = GetParam().Steps;
    for (size_t i = 0; i < steps.size(); ++i) {
        const TStep& step = steps[i];
        SCOPED_TRACE("step " + std::to_string(i));
        ASSERT_NO_FATAL_FAILURE(Do(step.Action));
        const bool reached = fw_test::WaitUntil([&] {
            return Is(step.Window) &&
                   (step.Window == kInTheTray || step.Window == kNotStarted || HasButton() == step.Button);
        }, kWithin);
        ASSERT_TRUE(reached) << "the main window is " << Describe();
    }
}

INSTANTIATE_TEST_SUITE_P(Sequences, TaskBarButtonTest, ::testing::ValuesIn(kTaskBarSequences),
                         [](const ::testing::TestParamInfo<TTaskBarSequence>& info) {
                             return std::string(info.param.Name);
                         });

// ---- the window stays inside the work area ------------------------------------------------------

enum class Desktop { kOpenboxWithTrayHost, kOpenbox, kBareServer, kMoveRefusingWindowManager };

struct TPlacementCase {
    const char* Name;
    Desktop Kind;
    int ScreenHeight;
    bool Whole;  // the expanded window holds every panel whole; else it is cut to the work area
};

const TPlacementCase kPlacementCases[] = {
    {"OpenboxWithATrayHost", Desktop::kOpenboxWithTrayHost, 900, true},
    {"Openbox", Desktop::kOpenbox, 900, true},
    {"BareServer", Desktop::kBareServer, 900, true},
    {"WindowManagerRefusingMoves", Desktop::kMoveRefusingWindowManager, 900, false},
    {"ScreenSmallerThanTheWindow", Desktop::kOpenboxWithTrayHost, 600, false},
};

class WorkAreaTest : public ::testing::TestWithParam<TPlacementCase> {
protected:
    void SetUp() override {
        const Desktop kind = GetParam().Kind;
        ASSERT_NO_FATAL_FAILURE(desktop.SetUp(kind == Desktop::kOpenboxWithTrayHost || kind == Desktop::kOpenbox));
        if (kind == Desktop::kOpenboxWithTrayHost) {
            ASSERT_NO_FATAL_FAILURE(desktop.StartTrayHost(true));
            const int areaHeight = GetParam().ScreenHeight - kTrayHeight;
            ASSERT_TRUE(fw_test::WaitUntil([&] { return desktop.Probe().WorkArea().Height == areaHeight; }, kWithin))
                << "the window manager never left the tray host's strip out of the work area";
        }
    }
    void TearDown() override {
        refusingMoves.reset();
        desktop.TearDown();
    }

    // Inside the work area, and its client area (the bars and the panels) as tall as wanted.
    bool InsideAt(int clientHeight) {
        const std::optional<TScreenRect> outer = desktop.Outer(), client = desktop.Client();
        return outer && client && outer->Inside(desktop.Probe().WorkArea()) && client->Height == clientHeight;
    }
    std::string Describe() {
        const std::optional<TScreenRect> outer = desktop.Outer(), client = desktop.Client();
        std::ostringstream text;
        text << "work area " << desktop.Probe().WorkArea();
        if (outer && client) text << ", window " << *outer << ", client area " << *client;
        return text.str();
    }

    MainWindowDesktop desktop{GetParam().ScreenHeight};
    std::unique_ptr<fw_test::MoveRefusingWindowManager> refusingMoves;
};

TEST_P(WorkAreaTest, CollapseAllAndExpandAllEndInsideTheWorkArea) {
    ASSERT_NO_FATAL_FAILURE(desktop.StartProgram());
    const int areaHeight = desktop.Probe().WorkArea().Height;
    const int whole = std::min(kWholeHeight, areaHeight);
    EXPECT_TRUE(fw_test::WaitUntil([&] { return InsideAt(whole); }, kWithin)) << "at the start: " << Describe();

    ASSERT_NO_FATAL_FAILURE(desktop.Click(kCollapseAllFromRight, kButtonTop, true));
    ASSERT_TRUE(fw_test::WaitUntil([&] { return InsideAt(kCollapsedHeight); }, kWithin)) << "collapsed: " << Describe();

    // Dragged down by its title, as the user brings it back to the middle of the screen.
    const TScreenRect before = *desktop.Outer();
    const int down = std::min(300, areaHeight - kCollapsedHeight - before.Top - 20);
    EXPECT_TRUE(desktop.DragTitle(100, down)) << "the drag on the title from " << before
                                               << " did not move the window: " << Describe();

    if (GetParam().Kind == Desktop::kMoveRefusingWindowManager) {
        refusingMoves = std::make_unique<fw_test::MoveRefusingWindowManager>(desktop.Display());
        ASSERT_TRUE(refusingMoves->ok()) << "the window manager did not take the screen";
    }
    ASSERT_NO_FATAL_FAILURE(desktop.Click(kCollapseAllFromRight, kButtonTop, true));
    const TScreenRect dragged = *desktop.Outer();
    // Whole: moved up until it fits, every panel and the status bar shown. Cut: where it could not be
    // moved (or the area is lower than the window) as tall as the area leaves it, its panels scrolling.
    const int expected = GetParam().Whole ? kWholeHeight
                         : GetParam().Kind == Desktop::kMoveRefusingWindowManager
                             ? desktop.Probe().WorkArea().Bottom() - dragged.Top
                             : areaHeight;
    if (!GetParam().Whole) {
        ASSERT_LT(expected, kWholeHeight) << "the case does not cut the window";
    }
    EXPECT_TRUE(fw_test::WaitUntil([&] { return InsideAt(expected); }, kWithin))
        << "expanded, expected " << expected << " tall: " << Describe();
}

INSTANTIATE_TEST_SUITE_P(Desktops, WorkAreaTest, ::testing::ValuesIn(kPlacementCases),
                         [](const ::testing::TestParamInfo<TPlacementCase>& info) {
                             return std::string(info.param.Name);
                         });

}  // namespace
