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

// A window's texts as the program takes them: up to a NUL, valid UTF-8, at most 254 characters.
TEST(WindowText, EndsAtNulIsValidUtf8AndHoldsAtMost254Characters) {
    const std::string cyrillic = "\xD0\x96";  // Ж, two bytes
    const std::string fffd = "\xEF\xBF\xBD";
    std::string cyrillic300, cyrillic254;
    for (int i = 0; i < 300; ++i) cyrillic300 += cyrillic;
    for (int i = 0; i < 254; ++i) cyrillic254 += cyrillic;
    const struct {
        const char* what;
        std::string raw, taken;
    } cases[] = {
        {"plain", "Notepad", "Notepad"},
        {"254 characters of two bytes kept", cyrillic254, cyrillic254},
        {"300 characters of two bytes", cyrillic300, cyrillic254},
        {"ends at a NUL", std::string("top\0hidden", 10), "top"},
        {"bytes that are no UTF-8", "a\xFF" "b\xE2\x82", "a" + fffd + "b" + fffd},
        {"a character cut short by the property's end is no character", cyrillic254 + "\xD0", cyrillic254},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::WindowText(c.raw), c.taken) << c.what;
}

// The names looked for are taken as window texts: a longer caption finds the window whose text it
// begins; a search by a field's bytes compares what such a field carries.
TEST(FakeDisplay, FindComparesNamesAsWindowTextsAndAsAFieldCarriesThem) {
    std::string long300, other300;
    for (int i = 0; i < 300; ++i) long300 += "\xE6\x97\xA5";  // 日
    other300 = long300;
    other300.replace(other300.size() - 3, 3, "x");  // differs after 299 characters only
    TFakeDisplay display;
    const platform::WindowId w = display.AddWindow(Window("FwLong", long300));
    EXPECT_EQ(platform::FindTopLevelWindow(display, "FwLong", long300), w) << "typed as long as the window's own";
    EXPECT_EQ(platform::FindTopLevelWindow(display, "FwLong", other300), w) << "the same first 254 characters";
    const std::string first85 = long300.substr(0, 255);  // what 255 bytes carry: 85 characters
    EXPECT_EQ(platform::FindTopLevelWindow(display, "FwLong", first85), platform::kNoWindow);
    EXPECT_EQ(platform::FindTopLevelWindow(display, "FwLong", first85, 255), w);
    EXPECT_EQ(platform::FindTopLevelWindow(display, "FwLong", long300.substr(0, 254), 255), platform::kNoWindow)
        << "cut inside a character";
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
