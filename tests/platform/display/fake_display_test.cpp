#include <gtest/gtest.h>

#include "platform/display/fake_display.h"
#include "platform/display/xcb_display.h"

namespace {

using platform::FakeMonitor;
using platform::TFakeDisplay;
using platform::TFakeWindow;

TFakeWindow Window(const std::string& cls, const std::string& caption) {
    TFakeWindow w;
    w.ClassName = cls;
    w.Caption = caption;
    return w;
}

TEST(FakeDisplay, FindTopLevelWindowByClassAndCaption) {
    TFakeDisplay display;
    auto a = display.AddWindow(Window("TLumora_MainForm", "Framewick"));
    auto b = display.AddWindow(Window("TLumora_MainForm", "[2] Framewick"));
    auto c = display.AddWindow(Window("Notepad", "Framewick"));
    TFakeWindow child = Window("Notepad", "inner");
    child.Parent = a;
    display.AddWindow(child);
    TFakeWindow hidden = Window("Hidden", "Framewick");
    hidden.Visible = false;
    display.AddWindow(hidden);

    // A caption or class that several windows share finds the top-most of them.
    struct Case {
        std::string Class, Caption;
        platform::WindowId Expected;
    } cases[] = {
        {"TLumora_MainForm", "", b}, {"", "Framewick", c},   {"TLumora_MainForm", "Framewick", a},
        {"TLumora_MainForm", "[2] Framewick", b}, {"Notepad", "", c}, {"Notepad", "inner", 0},
        {"", "", 0}, {"Missing", "", 0}, {"Hidden", "", 0},
    };
    for (const auto& k : cases)
        EXPECT_EQ(platform::FindTopLevelWindow(display, k.Class, k.Caption), k.Expected) << k.Class << "/" << k.Caption;
    EXPECT_EQ(platform::FindTopLevelWindows(display, "", "Framewick"), (std::vector<platform::WindowId>{c, a}));
    display.RaiseWindow(a);
    EXPECT_EQ(platform::FindTopLevelWindow(display, "TLumora_MainForm", ""), a);
    display.RemoveWindow(a);
    EXPECT_EQ(platform::FindTopLevelWindow(display, "TLumora_MainForm", ""), b);
    EXPECT_FALSE(display.IsWindow(a));
    EXPECT_FALSE(display.GetWindowRect(a).has_value());
}

TEST(FakeDisplay, PrimaryIsTheMarkedMonitorElseTheFirst) {
    TFakeDisplay display;
    EXPECT_FALSE(platform::PrimaryMonitor(display).has_value());
    display.SetMonitors({FakeMonitor(-1280, 0, 0, 1024), FakeMonitor(0, 0, 1920, 1080)});
    EXPECT_EQ(platform::PrimaryMonitor(display)->Monitor.Left, -1280);
    display.SetMonitors({FakeMonitor(-1280, 0, 0, 1024), FakeMonitor(0, 0, 1920, 1080, true)});
    EXPECT_EQ(platform::PrimaryMonitor(display)->Monitor.Left, 0);
}

TEST(FakeDisplay, StackingFollowsAddAndRaise) {
    TFakeDisplay display;
    auto a = display.AddWindow({});
    auto b = display.AddWindow({});
    auto c = display.AddWindow({});
    EXPECT_EQ(display.GetWindowAbove(a), b);
    EXPECT_EQ(display.GetWindowAbove(c), 0u);
    display.RaiseWindow(a);
    EXPECT_EQ(display.GetWindowAbove(c), a);
    EXPECT_EQ(display.TopLevelWindows(), (std::vector<platform::WindowId>{a, c, b}));  // top-most first
    display.SetVisible(c, false);
    EXPECT_EQ(display.TopLevelWindows(), (std::vector<platform::WindowId>{a, b}));
    EXPECT_FALSE(platform::IsTopLevelWindow(display, c));
    EXPECT_TRUE(platform::IsTopLevelWindow(display, b));
}

TEST(XcbDisplay, UnreachableServerAnswersNothing) {
    platform::TXcbDisplay display(":4711");
    EXPECT_FALSE(display.Connected());
    EXPECT_TRUE(display.Monitors().empty());
    EXPECT_TRUE(display.TopLevelWindows().empty());
    EXPECT_FALSE(display.IsWindow(1));
    EXPECT_FALSE(display.GetWindowRect(1).has_value());
    EXPECT_EQ(display.GetParentWindow(1), 0u);
}

TEST(CurrentDisplay, CanBeReplacedAndRestored) {
    auto fake = std::make_shared<TFakeDisplay>();
    platform::SetCurrentDisplay(fake);
    EXPECT_EQ(platform::CurrentDisplay().get(), fake.get());
    platform::SetCurrentDisplay(nullptr);
    EXPECT_NE(dynamic_cast<platform::TXcbDisplay*>(platform::CurrentDisplay().get()), nullptr);
}

}  // namespace
