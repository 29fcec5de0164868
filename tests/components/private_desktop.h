// A desktop of the test program's own: an Xvfb started before the program's QApplication, so that a
// tray host or a window manager the tests start there cannot disturb the other test programs of the
// run, and real input through XTest (xdotool). Also reads back what the X server holds for a window,
// and sets the desktop's X resource database as a user's session does.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QMargins>
#include <QRect>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/PrivateXServer.h"
#include "tests/support/test_env.h"

namespace fw_test {

// Merges resource lines ("Xft.dpi: 120") into the database of display (":N"); an empty text removes the
// database.
inline bool SetXResources(const std::string& display, const std::string& lines) {
    if (lines.empty()) return RunProgram({"xrdb", "-display", display, "-remove"}) == 0;
    TempDir dir;
    WriteFile(dir / "resources", lines + "\n");
    return RunProgram({"xrdb", "-display", display, "-merge", (dir / "resources").string()}) == 0;
}

class PrivateDesktop : public ::testing::Environment {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    void SetUp() override {
        // A test program may ask for another size through FW_TEST_DESKTOP_SIZE ("1600x900"), and for
        // resources its QApplication starts with through FW_TEST_X_RESOURCES ("Xft.dpi:120").
        int width = kWidth, height = kHeight;
        if (const char* size = std::getenv("FW_TEST_DESKTOP_SIZE")) std::sscanf(size, "%dx%d", &width, &height);
        server_ = std::make_unique<PrivateXServer>(width, height);
        ASSERT_TRUE(server_->ok()) << "Xvfb did not start";
        if (const char* resources = std::getenv("FW_TEST_X_RESOURCES")) {
            ASSERT_TRUE(SetXResources(server_->name(), resources)) << "xrdb did not take " << resources;
        }
        ::setenv("DISPLAY", server_->name().c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override {
        app_.reset();
        server_.reset();
    }

private:
    int argc_ = 1;
    char arg0_[16] = "desktop_test";
    char* argv_[2] = {arg0_, nullptr};
    std::unique_ptr<PrivateXServer> server_;
    std::unique_ptr<QApplication> app_;
};

// Runs xdotool on the desktop (real pointer and button events through XTest).
inline bool Xdo(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return RunProgram(argv, nullptr, std::chrono::seconds(20)) == 0;
}

// One connection of the test's own to the desktop's X server.
class XcbReader {
public:
    XcbReader() : c_(xcb_connect(nullptr, nullptr)) {}
    ~XcbReader() { xcb_disconnect(c_); }
    XcbReader(const XcbReader&) = delete;
    XcbReader& operator=(const XcbReader&) = delete;

    xcb_window_t Root() const { return xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root; }

    xcb_atom_t Atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }
    // The atoms of an ATOM-typed property (empty when it is not there).
    std::vector<xcb_atom_t> Atoms(xcb_window_t w, const char* property) {
        std::vector<xcb_atom_t> atoms;
        auto* reply = xcb_get_property_reply(
            c_, xcb_get_property(c_, 0, w, Atom(property), XCB_ATOM_ATOM, 0, 64), nullptr);
        if (reply && reply->type == XCB_ATOM_ATOM && reply->format == 32) {
            const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
            atoms.assign(data, data + xcb_get_property_value_length(reply) / sizeof(xcb_atom_t));
        }
        std::free(reply);
        return atoms;
    }
    bool HasAtom(xcb_window_t w, const char* property, const char* atom) {
        const std::vector<xcb_atom_t> atoms = Atoms(w, property);
        return std::find(atoms.begin(), atoms.end(), Atom(atom)) != atoms.end();
    }
    bool HasProperty(xcb_window_t w, const char* property) {
        auto* reply = xcb_get_property_reply(
            c_, xcb_get_property(c_, 0, w, Atom(property), XCB_GET_PROPERTY_TYPE_ANY, 0, 1), nullptr);
        const bool has = reply && reply->type != XCB_ATOM_NONE;
        std::free(reply);
        return has;
    }
    // The frame the window manager says it put around w (_NET_FRAME_EXTENTS); none before it framed w.
    std::optional<QMargins> FrameExtents(xcb_window_t w) {
        std::optional<QMargins> frame;
        auto* reply = xcb_get_property_reply(
            c_, xcb_get_property(c_, 0, w, Atom("_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, 0, 4), nullptr);
        if (reply && reply->type == XCB_ATOM_CARDINAL && reply->format == 32 &&
            xcb_get_property_value_length(reply) == 4 * int(sizeof(uint32_t))) {
            const auto* extents = static_cast<const uint32_t*>(xcb_get_property_value(reply));  // left, right, top, bottom
            frame = QMargins(int(extents[0]), int(extents[2]), int(extents[1]), int(extents[3]));
        }
        std::free(reply);
        return frame;
    }
    // A UTF8_STRING property as text (empty when it is not there).
    std::string Utf8Property(xcb_window_t w, const char* property) {
        auto* reply = xcb_get_property_reply(
            c_, xcb_get_property(c_, 0, w, Atom(property), Atom("UTF8_STRING"), 0, 1024), nullptr);
        std::string text;
        if (reply && reply->format == 8)
            text.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                        size_t(xcb_get_property_value_length(reply)));
        std::free(reply);
        return text;
    }
    // The viewable child of the root called caption (_NET_WM_NAME), as on a desktop without a window
    // manager; none when there is none.
    std::optional<xcb_window_t> TopLevelCalled(const std::string& caption) {
        auto* tree = xcb_query_tree_reply(c_, xcb_query_tree(c_, Root()), nullptr);
        std::optional<xcb_window_t> found;
        for (int i = 0; tree && i < xcb_query_tree_children_length(tree) && !found; ++i) {
            const xcb_window_t w = xcb_query_tree_children(tree)[i];
            if (Utf8Property(w, "_NET_WM_NAME") == caption && !ScreenRect(w).isEmpty()) found = w;
        }
        std::free(tree);
        return found;
    }
    // The viewable window called caption (_NET_WM_NAME) wherever it stands, a child of the root or inside
    // a window manager's frame; of several the largest. None when there is none.
    std::optional<xcb_window_t> ClientCalled(const std::string& caption) {
        std::optional<xcb_window_t> found;
        int foundArea = 0;
        FindCalled(Root(), caption, 0, found, foundArea);
        return found;
    }
    // The window that has the keyboard as the window manager says (_NET_ACTIVE_WINDOW); none without one.
    xcb_window_t ActiveWindow() {
        const std::vector<uint32_t> active = Cardinals(Root(), "_NET_ACTIVE_WINDOW", XCB_ATOM_WINDOW);
        return active.empty() ? xcb_window_t(XCB_WINDOW_NONE) : xcb_window_t(active[0]);
    }
    // The part of the screen the window manager leaves to windows (_NET_WORKAREA of the first desktop);
    // empty when it says none.
    QRect WorkArea() {
        const std::vector<uint32_t> area = Cardinals(Root(), "_NET_WORKAREA", XCB_ATOM_CARDINAL);
        return area.size() < 4 ? QRect() : QRect(int(area[0]), int(area[1]), int(area[2]), int(area[3]));
    }
    // Where the window is on the screen, as the server has it; empty when it is not viewable.
    QRect ScreenRect(xcb_window_t w) {
        auto* attributes = xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, w), nullptr);
        const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(attributes);
        auto* geometry = xcb_get_geometry_reply(c_, xcb_get_geometry(c_, w), nullptr);
        if (!viewable || !geometry) {
            std::free(geometry);
            return {};
        }
        auto* at = xcb_translate_coordinates_reply(
            c_, xcb_translate_coordinates(c_, w, geometry->root, 0, 0), nullptr);
        const QRect rect = at ? QRect(at->dst_x, at->dst_y, geometry->width, geometry->height) : QRect();
        std::free(at);
        std::free(geometry);
        return rect;
    }
    // Sends a client message of type marker to w; with no event mask it goes to the client that made
    // w, after every event the server had sent that client before.
    void SendMarker(xcb_window_t w, xcb_atom_t marker) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = w;
        event.type = marker;
        xcb_send_event(c_, 0, w, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
        xcb_flush(c_);
    }

private:
    // The 32-bit values of a property of type (empty when it is not there).
    std::vector<uint32_t> Cardinals(xcb_window_t w, const char* property, xcb_atom_t type) {
        std::vector<uint32_t> values;
        auto* reply = xcb_get_property_reply(c_, xcb_get_property(c_, 0, w, Atom(property), type, 0, 64), nullptr);
        if (reply && reply->type == type && reply->format == 32) {
            const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
            values.assign(data, data + xcb_get_property_value_length(reply) / sizeof(uint32_t));
        }
        std::free(reply);
        return values;
    }
    // Looks for caption below w, down to the clients inside the frames of a window manager.
    void FindCalled(xcb_window_t w, const std::string& caption, int depth, std::optional<xcb_window_t>& found,
                    int& foundArea) {
        auto* tree = xcb_query_tree_reply(c_, xcb_query_tree(c_, w), nullptr);
        for (int i = 0; tree && i < xcb_query_tree_children_length(tree); ++i) {
            const xcb_window_t child = xcb_query_tree_children(tree)[i];
            const QRect place = ScreenRect(child);
            if (place.isEmpty()) continue;
            if (Utf8Property(child, "_NET_WM_NAME") == caption && place.width() * place.height() > foundArea) {
                found = child;
                foundArea = place.width() * place.height();
            }
            if (depth < 2) FindCalled(child, caption, depth + 1, found, foundArea);
        }
        std::free(tree);
    }

    xcb_connection_t* c_;
};

}  // namespace fw_test
