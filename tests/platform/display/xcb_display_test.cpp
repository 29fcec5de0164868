// Runs against the X server of the test script (Xvfb, one 1920x1080 screen, no window manager).
#include <gtest/gtest.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstring>

#include "platform/display/xcb_display.h"
#include "tests/support/test_env.h"

namespace {

// A plain X window made for the test, with class, caption and owning process set.
class TestWindow {
public:
    TestWindow(int x, int y, int w, int h, const std::string& cls, const std::string& caption) {
        conn_ = xcb_connect(nullptr, nullptr);
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data;
        id_ = xcb_generate_id(conn_);
        uint32_t values[] = {1};  // override-redirect: no window manager moves it
        xcb_create_window(conn_, XCB_COPY_FROM_PARENT, id_, screen->root, static_cast<int16_t>(x),
                          static_cast<int16_t>(y), static_cast<uint16_t>(w), static_cast<uint16_t>(h), 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_OVERRIDE_REDIRECT, values);
        std::string wmClass = "instance";
        wmClass.push_back('\0');
        wmClass += cls;
        wmClass.push_back('\0');
        xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, id_, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                            static_cast<uint32_t>(wmClass.size()), wmClass.data());
        xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, id_, Atom("_NET_WM_NAME"), Atom("UTF8_STRING"), 8,
                            static_cast<uint32_t>(caption.size()), caption.data());
        uint32_t pid = static_cast<uint32_t>(::getpid());
        xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, id_, Atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1, &pid);
        xcb_flush(conn_);
    }
    ~TestWindow() {
        xcb_destroy_window(conn_, id_);
        xcb_flush(conn_);
        xcb_disconnect(conn_);
    }
    void Map() {
        xcb_map_window(conn_, id_);
        xcb_aux_sync();
    }
    platform::WindowId id() const { return id_; }

private:
    xcb_atom_t Atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(conn_, xcb_intern_atom(conn_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
        free(reply);
        return atom;
    }
    void xcb_aux_sync() { free(xcb_get_input_focus_reply(conn_, xcb_get_input_focus(conn_), nullptr)); }

    xcb_connection_t* conn_ = nullptr;
    xcb_window_t id_ = 0;
};

class XcbDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fw_test::HasDisplay()) GTEST_SKIP() << "no X server";
    }
};

TEST_F(XcbDisplayTest, MonitorsOfTheServer) {
    platform::TXcbDisplay display;
    ASSERT_TRUE(display.Connected());
    auto monitors = display.Monitors();
    ASSERT_FALSE(monitors.empty());
    EXPECT_EQ(monitors[0].Monitor, (platform::TRect{0, 0, 1920, 1080}));
    EXPECT_FALSE(monitors[0].WorkArea.IsEmpty());
    EXPECT_TRUE(platform::PrimaryMonitor(display).has_value());
}

TEST_F(XcbDisplayTest, FindsWindowsWithTheirRectangleAndStacking) {
    platform::TXcbDisplay display;
    TestWindow lower(100, 50, 300, 200, "FwTestClass", "Framewick xcb test");
    TestWindow upper(200, 100, 100, 100, "FwOther", "other");
    EXPECT_FALSE(display.IsWindowVisible(lower.id()));
    lower.Map();
    upper.Map();
    EXPECT_TRUE(display.IsWindow(lower.id()));
    EXPECT_TRUE(display.IsWindowVisible(lower.id()));
    EXPECT_EQ(display.GetWindowClass(lower.id()), "FwTestClass");
    EXPECT_EQ(display.GetWindowCaption(lower.id()), "Framewick xcb test");
    EXPECT_EQ(display.GetWindowRect(lower.id()), (platform::TRect{100, 50, 400, 250}));
    EXPECT_EQ(display.GetWindowProcess(lower.id()), ::getpid());
    EXPECT_EQ(display.GetParentWindow(lower.id()), 0u);
    EXPECT_EQ(platform::FindTopLevelWindow(display, "FwTestClass", "Framewick xcb test"), lower.id());
    EXPECT_EQ(platform::FindTopLevelWindow(display, "", "other"), upper.id());
    EXPECT_EQ(display.GetWindowAbove(lower.id()), upper.id());
    EXPECT_FALSE(display.IsWindow(0));
}

}  // namespace
