// Capture rectangle and picture sizes per source kind on a fake display, the checks made at
// preparation, the window that is followed, and the scale table.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "engine/capture/settings/CaptureRect.h"
#include "platform/display/fake_display.h"

namespace {

using namespace engine;
using platform::FakeMonitor;
using platform::TRect;

platform::TFakeWindow Window(const char* cls, const char* caption, TRect rect) {
    platform::TFakeWindow w;
    w.ClassName = cls;
    w.Caption = caption;
    w.Rect = rect;
    return w;
}

struct LogLine {
    std::string text;
    uint8_t level;
};

class CaptureRectTest : public ::testing::Test {
protected:
    void SetUp() override { platform::SetCurrentDisplay(display); }
    void TearDown() override { platform::SetCurrentDisplay(nullptr); }
    void OneMonitor() { display->SetMonitors({FakeMonitor(0, 0, 1920, 1080, true)}); }
    void TwoMonitors() { display->SetMonitors({FakeMonitor(0, 0, 1920, 1080, true), FakeMonitor(-1280, 0, 0, 1024)}); }
    CaptureLog Log() {
        return [this](const std::string& text, uint8_t level) { lines.push_back({text, level}); };
    }

    std::shared_ptr<platform::TFakeDisplay> display = std::make_shared<platform::TFakeDisplay>();
    std::vector<LogLine> lines;
};

TEST_F(CaptureRectTest, RectangleAndSizesPerKindAndScale) {
    struct Case {
        const char* what;
        uint8_t kind;
        TRect area;  // kind 3: left, top, right, bottom
        uint8_t scale;
        bool preScale;
        TRect rect;
        int frameW, frameH, scaledW, scaledH;
    };
    const Case cases[] = {
        {"all monitors", 0, {}, 0, false, {-1280, 0, 1920, 1080}, 3200, 1088, 0, 0},
        {"monitor 2", 1, {}, 0, false, {-1280, 0, 0, 1024}, 1280, 1024, 0, 0},
        {"area 50% filter scales", 3, {100, 0, 1100, 500}, 6, true, {100, 0, 1100, 500}, 1000, 500, 512, 256},
        {"area 50% libVLC scales", 3, {100, 0, 1100, 500}, 6, false, {100, 0, 1100, 500}, 1008, 512, 0, 0},
        {"height 1060 rounds up", 3, {0, 0, 1920, 1060}, 0, false, {0, 0, 1920, 1060}, 1920, 1072, 0, 0},
        {"height 1069 rounds up", 3, {0, 0, 1920, 1069}, 0, false, {0, 0, 1920, 1069}, 1920, 1072, 0, 0},
        {"height 1072 stays", 3, {0, 0, 1920, 1072}, 0, false, {0, 0, 1920, 1072}, 1920, 1072, 0, 0},
        {"25% of 1366 halves to even", 3, {0, 0, 1366, 768}, 9, true, {0, 0, 1366, 768}, 1366, 768, 352, 192},
        {"200% filter scales", 3, {0, 0, 100, 50}, 12, true, {0, 0, 100, 50}, 100, 50, 208, 112},
        {"unknown scale is 100%", 3, {0, 0, 100, 50}, 77, true, {0, 0, 100, 50}, 112, 64, 0, 0},
        {"empty area still 16x16", 3, {10, 10, 10, 10}, 0, false, {10, 10, 10, 10}, 16, 16, 0, 0},
        {"transport stream: no rectangle", 4, {}, 0, false, {}, 0, 0, 0, 0},
        {"files: no rectangle", 5, {}, 6, true, {}, 0, 0, 0, 0},
    };
    TwoMonitors();
    for (const Case& c : cases) {
        TScreenCaptureParams p;
        p.capKind = c.kind;
        p.capDesktopNo = 2;
        p.iLeft = c.area.Left;
        p.iTop = c.area.Top;
        p.iWidth = c.area.Width();
        p.iHeight = c.area.Height();
        p.vidScale = c.scale;
        p.bPreScale = c.preScale;
        TCaptureGeometry g;
        CalcCaptureRect(p, g, nullptr);
        EXPECT_EQ(g.CaptureRect, c.rect) << c.what;
        EXPECT_EQ(g.RectWidth, c.rect.Width()) << c.what;
        EXPECT_EQ(g.RectHeight, c.rect.Height()) << c.what;
        EXPECT_EQ(g.FrameWidth, c.frameW) << c.what;
        EXPECT_EQ(g.FrameHeight, c.frameH) << c.what;
        EXPECT_EQ(g.ScaledWidth, c.scaledW) << c.what;
        EXPECT_EQ(g.ScaledHeight, c.scaledH) << c.what;
    }
}

TEST_F(CaptureRectTest, AllMonitorsLogsCountAndEveryMonitor) {
    OneMonitor();
    TScreenCaptureParams p;
    p.capKind = kCapKindAllMonitors;
    TCaptureGeometry g;
    CalcCaptureRect(p, g, Log());
    EXPECT_EQ(g.CaptureRect, (TRect{0, 0, 1920, 1080}));
    EXPECT_EQ(g.FrameWidth, 1920);
    EXPECT_EQ(g.FrameHeight, 1088);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "Monitor-Count: 1");
    EXPECT_EQ(lines[1].text, "[Monitor_1] L:0 T:0 R:1920 B:1080");
    EXPECT_EQ(lines[1].level, kLogLevelInfo);
}

// A window capture whose window is shown first, then each row's changes: the rectangle captured, the
// watcher's answer (true: nothing to restart), the handle kept, and the one line each change gives.
TEST_F(CaptureRectTest, WindowKindNeverFallsBackToTheDesktop) {
    const TRect shown = platform::MakeRect(100, 100, 400, 300);
    const TRect moved = platform::MakeRect(300, 200, 500, 400);
    const std::string name = "window \"Editor\" (class \"EdClass\")";
    enum class Handle { Same, None, Other };
    struct Case {
        const char* what;
        std::function<void(platform::TFakeDisplay&, platform::WindowId)> change;
        bool watcherSame;  // what UpdateWindowRect answers after the change
        Handle handle;
        TRect rect;        // CaptureRect at the next start
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"shown and unmoved", [](auto&, auto) {}, true, Handle::Same, shown, {}},
        {"unmapped or minimised", [](auto& d, auto w) { d.SetVisible(w, false); }, true, Handle::Same, shown,
         {name + " is hidden - black pictures are published until it is shown"}},
        {"moved while hidden", [&](auto& d, auto w) { d.SetVisible(w, false); d.MoveWindow(w, moved); }, true,
         Handle::Same, shown, {name + " is hidden - black pictures are published until it is shown"}},
        {"shown again where it was", [](auto& d, auto w) { d.SetVisible(w, false); d.SetVisible(w, true); }, true,
         Handle::Same, shown, {}},
        {"destroyed", [](auto& d, auto w) { d.RemoveWindow(w); }, true, Handle::None, shown,
         {name + " is gone - black pictures are published until it is found again"}},
        {"destroyed, another window of the class shows another caption",
         [](auto& d, auto w) {
             d.RemoveWindow(w);
             d.AddWindow(Window("EdClass", "Other", platform::MakeRect(0, 0, 800, 600)));
         },
         true, Handle::None, shown, {name + " is gone - black pictures are published until it is found again"}},
        {"hidden while another window of its names is shown",
         [](auto& d, auto w) {
             d.SetVisible(w, false);
             d.AddWindow(Window("EdClass", "Editor", platform::MakeRect(0, 0, 800, 600)));
         },
         true, Handle::Same, shown, {name + " is hidden - black pictures are published until it is shown"}},
    };
    for (const Case& c : cases) {
        display = std::make_shared<platform::TFakeDisplay>();
        platform::SetCurrentDisplay(display);
        OneMonitor();
        const platform::WindowId window = display->AddWindow(Window("EdClass", "Editor", shown));
        TScreenCaptureParams p;
        p.capKind = kCapKindWindow;
        p.Window.sClass = "EdClass";
        p.Window.sCaption = "Editor";
        TCaptureGeometry g;
        CalcCaptureRect(p, g, Log());
        ASSERT_EQ(g.Window.Handle, window) << c.what;
        lines.clear();

        c.change(*display, window);
        EXPECT_EQ(UpdateWindowRect(p.Window, g.Window, Log()), c.watcherSame) << c.what;
        EXPECT_EQ(UpdateWindowRect(p.Window, g.Window, Log()), true) << c.what << ": asked again";
        EXPECT_EQ(g.Window.Handle, c.handle == Handle::Same ? window : platform::kNoWindow) << c.what;
        CalcCaptureRect(p, g, Log());
        EXPECT_EQ(g.CaptureRect, c.rect) << c.what;
        std::vector<std::string> texts;
        for (const LogLine& line : lines) texts.push_back(line.text);
        EXPECT_EQ(texts, c.lines) << c.what;
    }
}

// A display on which the window is destroyed just as it is asked whether it is shown, as a window
// closed between two requests of the watcher.
class VanishingDisplay : public platform::TFakeDisplay {
public:
    platform::WindowId Vanishing = platform::kNoWindow;
    bool IsWindowVisible(platform::WindowId w) override {
        if (w == Vanishing) RemoveWindow(w);
        return TFakeDisplay::IsWindowVisible(w);
    }
};

TEST_F(CaptureRectTest, WindowDestroyedWhileAskedIsGoneNeverHidden) {
    auto vanishing = std::make_shared<VanishingDisplay>();
    display = vanishing;
    platform::SetCurrentDisplay(display);
    OneMonitor();
    const TRect shown = platform::MakeRect(100, 100, 400, 300);
    const platform::WindowId window = display->AddWindow(Window("EdClass", "Editor", shown));
    TScreenCaptureParams p;
    p.capKind = kCapKindWindow;
    p.Window.sClass = "EdClass";
    p.Window.sCaption = "Editor";
    TCaptureGeometry g;
    CalcCaptureRect(p, g, Log());
    ASSERT_EQ(g.Window.Handle, window);
    lines.clear();

    vanishing->Vanishing = window;
    EXPECT_TRUE(UpdateWindowRect(p.Window, g.Window, Log()));
    EXPECT_EQ(g.Window.Handle, platform::kNoWindow);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "window \"Editor\" (class \"EdClass\") is gone - black pictures are published until it is found again");
    CalcCaptureRect(p, g, Log());
    EXPECT_EQ(g.CaptureRect, shown);
}

// How a window kind gets its window back: shown again after a move while hidden (the new rectangle
// wins, as a normal move), a window never found (the primary screen's size, found as soon as it
// shows), and a window found again after it was gone, under the caption it had last.
TEST_F(CaptureRectTest, WindowKindTakesTheWindowBackWhenItShowsAgain) {
    OneMonitor();
    const std::string name = "window \"Editor\" (class \"EdClass\")";
    TScreenCaptureParams p;
    p.capKind = kCapKindWindow;
    p.Window.sClass = "EdClass";
    p.Window.sCaption = "Editor";
    TCaptureGeometry g;

    CalcCaptureRect(p, g, Log());
    EXPECT_EQ(g.CaptureRect, (TRect{0, 0, 1920, 1080})) << "never found: the primary screen's size";
    EXPECT_EQ(g.Window.Handle, platform::kNoWindow);
    const platform::WindowId first = display->AddWindow(Window("EdClass", "Editor", platform::MakeRect(50, 60, 300, 200)));
    EXPECT_FALSE(UpdateWindowRect(p.Window, g.Window, Log()));
    EXPECT_EQ(g.Window.Handle, first);
    CalcCaptureRect(p, g, Log());
    EXPECT_EQ(g.CaptureRect, platform::MakeRect(50, 60, 300, 200));
    EXPECT_EQ(g.FrameHeight, 208);

    display->SetVisible(first, false);
    display->MoveWindow(first, platform::MakeRect(500, 400, 320, 240));
    EXPECT_TRUE(UpdateWindowRect(p.Window, g.Window, Log()));
    display->SetVisible(first, true);
    EXPECT_FALSE(UpdateWindowRect(p.Window, g.Window, Log())) << "shown again elsewhere: the job starts afresh";
    CalcCaptureRect(p, g, Log());
    EXPECT_EQ(g.CaptureRect, platform::MakeRect(500, 400, 320, 240));

    // Its caption changes while shown, then it closes; a new window with the last caption is taken.
    display->RemoveWindow(first);
    const platform::WindowId renamed = display->AddWindow(Window("EdClass", "Editor - a.txt", platform::MakeRect(500, 400, 320, 240)));
    display->RemoveWindow(renamed);
    p.Window.sCaption = "Editor - a.txt";
    EXPECT_TRUE(UpdateWindowRect(p.Window, g.Window, Log()));
    const platform::WindowId again = display->AddWindow(Window("EdClass", "Editor - a.txt", platform::MakeRect(500, 400, 320, 240)));
    EXPECT_TRUE(UpdateWindowRect(p.Window, g.Window, Log())) << "found again in the same place: nothing to start afresh";
    EXPECT_EQ(g.Window.Handle, again);

    std::vector<std::string> texts;
    for (const LogLine& line : lines) texts.push_back(line.text);
    const std::string renamedName = "window \"Editor - a.txt\" (class \"EdClass\")";
    EXPECT_EQ(texts, (std::vector<std::string>{
                         name + " not found - black pictures are published until it is shown", name + " is found",
                         name + " is hidden - black pictures are published until it is shown", name + " is shown again",
                         renamedName + " is gone - black pictures are published until it is found again",
                         renamedName + " is found again"}));
    EXPECT_EQ(lines[0].level, kLogLevelError);
    EXPECT_EQ(lines[1].level, kLogLevelInfo);
}

TEST_F(CaptureRectTest, WindowKindSaysWhenTheWindowIsShared) {
    struct Case {
        const char* what;
        bool monitors;
        int sameCaption;  // shown windows of the job's class and caption
        const char* line;  // expected log line, "" for none
        uint8_t level;
    };
    const Case cases[] = {
        {"one window", true, 1, "", 0},
        {"three share the caption", true, 3,
         "3 windows match window \"Editor\" (class \"EdClass\") - the top-most one is captured", kLogLevelInfo},
        {"display gone", false, 0,
         "the display cannot be reached - window \"Editor\" (class \"EdClass\") cannot be captured", kLogLevelError},
    };
    for (const Case& c : cases) {
        display = std::make_shared<platform::TFakeDisplay>();
        platform::SetCurrentDisplay(display);
        if (c.monitors) OneMonitor();
        lines.clear();
        TScreenCaptureParams p;
        p.capKind = kCapKindWindow;
        p.Window.sClass = "EdClass";
        p.Window.sCaption = "Editor";
        TCaptureGeometry g;
        for (int i = 0; i < c.sameCaption; ++i)
            display->AddWindow(Window("EdClass", "Editor", platform::MakeRect(10 * i, 0, 300, 200)));
        CalcCaptureRect(p, g, Log());
        if (*c.line == 0) {
            EXPECT_TRUE(lines.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(lines.size(), 1u) << c.what;
        EXPECT_EQ(lines[0].text, c.line) << c.what;
        EXPECT_EQ(lines[0].level, c.level) << c.what;
    }
}

// A capture that names no window, and a libVLC screen capture (which reads the screen itself) of a
// window that is not shown, are refused: both could only show what lies on the desktop.
TEST_F(CaptureRectTest, WindowCapturesThatCouldShowTheDesktopAreRefused) {
    OneMonitor();
    const platform::WindowId window = display->AddWindow(Window("EdClass", "Editor", platform::MakeRect(0, 0, 300, 200)));
    TScreenCaptureParams p;
    p.capKind = kCapKindWindow;
    TFollowedWindow followed;
    EXPECT_EQ(WindowCaptureRefusal(p, followed), "the window capture names no window (class and caption are empty)");
    p.Window.sClass = "EdClass";
    p.Window.sCaption = "Editor";
    UpdateWindowRect(p.Window, followed);
    EXPECT_EQ(WindowCaptureRefusal(p, followed), "");
    p.capEncoder = kCapEncoderVlc;
    EXPECT_EQ(WindowCaptureRefusal(p, followed), "");
    display->SetVisible(window, false);
    EXPECT_EQ(WindowCaptureRefusal(p, followed),
              "window \"Editor\" (class \"EdClass\") is not shown - libVLC reads the screen itself and would show what lies there");
    p.capEncoder = kCapEncoderDirectX;
    EXPECT_EQ(WindowCaptureRefusal(p, followed), "") << "the capture graph publishes black pictures instead";
    p.capKind = kCapKindArea;
    p.Window = {};
    EXPECT_EQ(WindowCaptureRefusal(p, followed), "");
}

TEST_F(CaptureRectTest, CheckParamsCorrectsMonitorNumberAndAreaWithErrorLines) {
    TwoMonitors();
    TScreenCaptureParams monitor;
    monitor.capKind = kCapKindMonitor;
    monitor.capDesktopNo = 3;
    CheckParams(monitor, Log());
    EXPECT_EQ(monitor.capDesktopNo, 1);

    TScreenCaptureParams area;
    area.capKind = kCapKindArea;
    area.iLeft = 5000;
    CheckParams(area, Log());
    EXPECT_EQ(area.iLeft, -1280);
    EXPECT_EQ(area.iTop, 0);
    EXPECT_EQ(area.iWidth, 200);
    EXPECT_EQ(area.iHeight, 200);

    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "wrong monitor-idx:3 - monitor-idx is set to 1");
    EXPECT_EQ(lines[1].text, "defined area is outside the desktop-area - reset to default");
    EXPECT_EQ(lines[0].level, kLogLevelError);

    // Corrections happen without a log as well; an area that starts inside passes unchanged.
    TScreenCaptureParams inside;
    inside.capKind = kCapKindArea;
    inside.iLeft = 1900;
    inside.iWidth = 5000;
    CheckParams(inside, nullptr);
    EXPECT_EQ(inside.iWidth, 5000);
}

TEST_F(CaptureRectTest, UpdateWindowRectClipsFollowsAndFindsTheWindowAgain) {
    OneMonitor();
    const auto editor = display->AddWindow(Window("EdClass", "Editor", TRect{-8, -8, 1928, 1048}));
    TCaptureWindow w;
    TFollowedWindow f;
    w.sCaption = "Editor";  // class unknown yet
    EXPECT_FALSE(UpdateWindowRect(w, f));
    EXPECT_EQ(f.Handle, editor);
    EXPECT_EQ(w.sClass, "EdClass");
    EXPECT_EQ((TRect{f.Left, f.Top, f.Width, f.Height}), (TRect{0, 0, 1920, 1056}));
    EXPECT_TRUE(UpdateWindowRect(w, f));  // unchanged

    display->MoveWindow(editor, platform::MakeRect(100, 100, 400, 300));
    EXPECT_FALSE(UpdateWindowRect(w, f));
    EXPECT_EQ(f.Left, 100);

    // Gone and found again by class alone after its caption changed.
    display->RemoveWindow(editor);
    const auto again = display->AddWindow(Window("EdClass", "Editor - file.txt", platform::MakeRect(10, 10, 200, 100)));
    w.sCaption.clear();
    UpdateWindowRect(w, f);
    EXPECT_EQ(f.Handle, again);
    EXPECT_EQ(w.sCaption, "Editor - file.txt");

    // A window that is gone keeps its last rectangle; FindCaptureWindow gives the search's default.
    display->RemoveWindow(again);
    w.sClass = "Nothing";
    w.sCaption = "Nothing";
    EXPECT_TRUE(UpdateWindowRect(w, f));
    EXPECT_EQ((TRect{f.Left, f.Top, f.Width, f.Height}), (TRect{10, 10, 200, 100}));
    FindCaptureWindow(w, f);
    EXPECT_EQ((TRect{f.Left, f.Top, f.Width, f.Height}), (TRect{0, 0, 100, 100}));
}

TEST(ScaleTableTest, TextsAndPercentages) {
    const struct {
        uint8_t index;
        const char* graphText;
        const char* method0Text;
        int percent;
    } cases[] = {{0, "1.0", "1", 100}, {3, "0.75", "0.75", 75}, {6, "0.5", "0.5", 50}, {12, "2.0", "2", 200},
                 {13, "1.5", "1.5", 150}, {14, "1", "1", 100}, {130, "0.8", "1", 100}};
    for (const auto& c : cases) {
        EXPECT_EQ(ScaleIndexToStr(c.index), c.graphText) << int(c.index);
        EXPECT_EQ(Method0ScaleText(c.index), c.method0Text) << int(c.index);
        EXPECT_EQ(ScalePercent(c.index), c.percent) << int(c.index);
    }
}

}  // namespace
