// Capture rectangle and picture sizes per source kind on a fake display, the checks made at
// preparation, the window that is followed, and the scale table.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/capture/CaptureRect.h"
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
        CalcCaptureRect(p, nullptr);
        EXPECT_EQ(p.CaptureRect, c.rect) << c.what;
        EXPECT_EQ(p.RectWidth, c.rect.Width()) << c.what;
        EXPECT_EQ(p.RectHeight, c.rect.Height()) << c.what;
        EXPECT_EQ(p.FrameWidth, c.frameW) << c.what;
        EXPECT_EQ(p.FrameHeight, c.frameH) << c.what;
        EXPECT_EQ(p.ScaledWidth, c.scaledW) << c.what;
        EXPECT_EQ(p.ScaledHeight, c.scaledH) << c.what;
    }
}

TEST_F(CaptureRectTest, AllMonitorsLogsCountAndEveryMonitor) {
    OneMonitor();
    TScreenCaptureParams p;
    p.capKind = kCapKindAllMonitors;
    CalcCaptureRect(p, Log());
    EXPECT_EQ(p.CaptureRect, (TRect{0, 0, 1920, 1080}));
    EXPECT_EQ(p.FrameWidth, 1920);
    EXPECT_EQ(p.FrameHeight, 1088);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "Monitor-Count: 1");
    EXPECT_EQ(lines[1].text, "[Monitor_1] L:0 T:0 R:1920 B:1080");
    EXPECT_EQ(lines[1].level, kLogLevelInfo);
}

TEST_F(CaptureRectTest, WindowKindFollowsTheWindowOrFallsBackToThePrimaryScreen) {
    OneMonitor();
    TScreenCaptureParams p;
    p.capKind = kCapKindWindow;
    p.Window.Handle = display->AddWindow(Window("EdClass", "Editor", platform::MakeRect(50, 60, 300, 200)));
    CalcCaptureRect(p, nullptr);
    EXPECT_EQ(p.CaptureRect, platform::MakeRect(50, 60, 300, 200));
    EXPECT_EQ(p.FrameHeight, 208);
    display->RemoveWindow(p.Window.Handle);
    CalcCaptureRect(p, nullptr);
    EXPECT_EQ(p.CaptureRect, (TRect{0, 0, 1920, 1080}));
}

TEST_F(CaptureRectTest, WindowKindSaysWhenTheWindowIsMissingOrShared) {
    struct Case {
        const char* what;
        bool monitors;
        int sameCaption;  // shown windows of the job's class and caption
        bool handleGone;  // the found window closed before the rectangle was taken
        const char* line;  // expected log line, "" for none
        uint8_t level;
    };
    const Case cases[] = {
        {"one window", true, 1, false, "", 0},
        {"closed between search and capture", true, 1, true,
         "window \"Editor\" (class \"EdClass\") not found - the primary screen is captured until it is shown",
         kLogLevelError},
        {"no window at all", true, 0, false,
         "window \"Editor\" (class \"EdClass\") not found - the primary screen is captured until it is shown",
         kLogLevelError},
        {"three share the caption", true, 3, false,
         "3 windows match window \"Editor\" (class \"EdClass\") - the top-most one is captured", kLogLevelInfo},
        {"display gone", false, 0, false,
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
        for (int i = 0; i < c.sameCaption; ++i)
            p.Window.Handle = display->AddWindow(Window("EdClass", "Editor", platform::MakeRect(10 * i, 0, 300, 200)));
        if (c.handleGone) display->RemoveWindow(p.Window.Handle);
        CalcCaptureRect(p, Log());
        if (*c.line == 0) {
            EXPECT_TRUE(lines.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(lines.size(), 1u) << c.what;
        EXPECT_EQ(lines[0].text, c.line) << c.what;
        EXPECT_EQ(lines[0].level, c.level) << c.what;
    }
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
    w.sCaption = "Editor";  // class unknown yet
    EXPECT_FALSE(UpdateWindowRect(w));
    EXPECT_EQ(w.Handle, editor);
    EXPECT_EQ(w.sClass, "EdClass");
    EXPECT_EQ((TRect{w.Left, w.Top, w.Width, w.Height}), (TRect{0, 0, 1920, 1056}));
    EXPECT_TRUE(UpdateWindowRect(w));  // unchanged

    display->MoveWindow(editor, platform::MakeRect(100, 100, 400, 300));
    EXPECT_FALSE(UpdateWindowRect(w));
    EXPECT_EQ(w.Left, 100);

    // Gone and found again by class alone after its caption changed.
    display->RemoveWindow(editor);
    const auto again = display->AddWindow(Window("EdClass", "Editor - file.txt", platform::MakeRect(10, 10, 200, 100)));
    w.sCaption.clear();
    UpdateWindowRect(w);
    EXPECT_EQ(w.Handle, again);
    EXPECT_EQ(w.sCaption, "Editor - file.txt");

    display->RemoveWindow(again);
    w.sClass = "Nothing";
    w.sCaption = "Nothing";
    EXPECT_FALSE(UpdateWindowRect(w));
    EXPECT_EQ((TRect{w.Left, w.Top, w.Width, w.Height}), (TRect{0, 0, 100, 100}));
    w.Left = 5;
    FindCaptureWindow(w);
    EXPECT_EQ(w.Left, 0);
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
