// A plain X window made by a test, on a connection of its own: class, caption and owning process set
// as programs set them, and the kinds of window a window search must pass over (unmapped helpers,
// InputOnly windows, override-redirect menus). Destroyed with the object.
#pragma once

#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fw_test {

class XTestWindow {
public:
    struct Options {
        int X = 0, Y = 0, Width = 100, Height = 100;
        std::string Class;
        std::string Caption;
        bool OverrideRedirect = false;
        bool InputOnly = false;
        std::string Display;  // empty: $DISPLAY
        uint32_t Parent = 0;  // 0: a child of the root
        std::optional<uint32_t> Background;  // 0xRRGGBB the server paints the window with; none: no paint
        bool UserPlaced = false;  // a window manager keeps the window where X and Y put it
    };

    explicit XTestWindow(const Options& o) {
        conn_ = xcb_connect(o.Display.empty() ? nullptr : o.Display.c_str(), nullptr);
        if (xcb_connection_has_error(conn_)) return;
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data;
        root_ = screen->root;
        id_ = xcb_generate_id(conn_);
        // Values in the order of their mask bits: background pixel before override-redirect.
        std::vector<uint32_t> values;
        uint32_t mask = XCB_CW_OVERRIDE_REDIRECT;
        if (o.Background && !o.InputOnly) {
            mask |= XCB_CW_BACK_PIXEL;
            values.push_back(*o.Background);
        }
        values.push_back(o.OverrideRedirect ? 1u : 0u);
        xcb_create_window(conn_, o.InputOnly ? 0 : XCB_COPY_FROM_PARENT, id_, o.Parent ? o.Parent : root_, static_cast<int16_t>(o.X),
                          static_cast<int16_t>(o.Y), static_cast<uint16_t>(o.Width), static_cast<uint16_t>(o.Height), 0,
                          o.InputOnly ? XCB_WINDOW_CLASS_INPUT_ONLY : XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          o.InputOnly ? XCB_COPY_FROM_PARENT : screen->root_visual, mask, values.data());
        if (!o.Class.empty()) {
            std::string wmClass = "instance";
            wmClass.push_back('\0');
            wmClass += o.Class;
            wmClass.push_back('\0');
            SetProperty(XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, wmClass.data(), wmClass.size());
        }
        SetProperty(Atom("_NET_WM_NAME"), Atom("UTF8_STRING"), 8, o.Caption.data(), o.Caption.size());
        if (o.UserPlaced) {
            constexpr uint32_t kUserPosition = 1, kUserSize = 2;  // WM_NORMAL_HINTS flags
            uint32_t hints[18] = {kUserPosition | kUserSize, static_cast<uint32_t>(o.X), static_cast<uint32_t>(o.Y),
                                  static_cast<uint32_t>(o.Width), static_cast<uint32_t>(o.Height)};
            SetProperty(XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32, hints, 18);
        }
        const uint32_t pid = static_cast<uint32_t>(::getpid());
        SetProperty(Atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, &pid, 1);
        Sync();
    }
    ~XTestWindow() {
        if (id_ != 0) xcb_destroy_window(conn_, id_);
        xcb_flush(conn_);
        xcb_disconnect(conn_);
    }
    XTestWindow(const XTestWindow&) = delete;
    XTestWindow& operator=(const XTestWindow&) = delete;

    uint32_t id() const { return id_; }
    void Map() {
        xcb_map_window(conn_, id_);
        Sync();
    }
    void Unmap() {
        xcb_unmap_window(conn_, id_);
        Sync();
    }
    void Destroy() {
        xcb_destroy_window(conn_, id_);
        Sync();
        id_ = 0;
    }
    void SetCaption(const std::string& caption) {
        SetProperty(Atom("_NET_WM_NAME"), Atom("UTF8_STRING"), 8, caption.data(), caption.size());
        Sync();
    }
    void Raise() {
        const uint32_t above[] = {XCB_STACK_MODE_ABOVE};
        xcb_configure_window(conn_, id_, XCB_CONFIG_WINDOW_STACK_MODE, above);
        Sync();
    }
    void Lower() {
        const uint32_t below[] = {XCB_STACK_MODE_BELOW};
        xcb_configure_window(conn_, id_, XCB_CONFIG_WINDOW_STACK_MODE, below);
        Sync();
    }
    // Asks the window manager to minimise the window, as a program's minimise button does.
    void Iconify() {
        constexpr uint32_t kIconicState = 3;
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = id_;
        message.type = Atom("WM_CHANGE_STATE");
        message.data.data32[0] = kIconicState;
        xcb_send_event(conn_, 0, root_, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        Sync();
    }
    // The window's map state: XCB_MAP_STATE_VIEWABLE while a person sees it.
    uint8_t MapState() {
        auto* attrs = xcb_get_window_attributes_reply(conn_, xcb_get_window_attributes(conn_, id_), nullptr);
        const uint8_t state = attrs ? attrs->map_state : static_cast<uint8_t>(XCB_MAP_STATE_UNMAPPED);
        std::free(attrs);
        return state;
    }
    void MoveResize(int x, int y, int width, int height) {
        const uint32_t values[] = {static_cast<uint32_t>(x), static_cast<uint32_t>(y), static_cast<uint32_t>(width),
                                   static_cast<uint32_t>(height)};
        xcb_configure_window(conn_, id_,
                             XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                             values);
        Sync();
    }
    // The window's parent in the X tree (the root, or a window manager's frame).
    uint32_t Parent() {
        auto* tree = xcb_query_tree_reply(conn_, xcb_query_tree(conn_, id_), nullptr);
        const uint32_t parent = tree ? tree->parent : 0;
        std::free(tree);
        return parent;
    }
    uint32_t Root() const { return root_; }
    // Where a window lies on the screen: left, top, width, height; all zero when it is gone.
    struct Box {
        int X = 0, Y = 0, Width = 0, Height = 0;
        friend bool operator==(const Box&, const Box&) = default;
    };
    Box ScreenBox(uint32_t w) {
        auto* geometry = xcb_get_geometry_reply(conn_, xcb_get_geometry(conn_, w), nullptr);
        auto* origin = xcb_translate_coordinates_reply(conn_, xcb_translate_coordinates(conn_, w, root_, 0, 0), nullptr);
        Box box;
        if (geometry && origin) box = {origin->dst_x, origin->dst_y, geometry->width, geometry->height};
        std::free(geometry);
        std::free(origin);
        return box;
    }
    // A window-list property (as a window manager sets them on the root and its check window).
    void SetWindowList(uint32_t target, const char* property, const std::vector<uint32_t>& windows) {
        xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, target, Atom(property), XCB_ATOM_WINDOW, 32,
                            static_cast<uint32_t>(windows.size()), windows.data());
        Sync();
    }
    // The windows a window-list property of the root names.
    std::vector<uint32_t> RootWindowList(const char* property) {
        auto* reply = xcb_get_property_reply(
            conn_, xcb_get_property(conn_, 0, root_, Atom(property), XCB_ATOM_WINDOW, 0, 4096), nullptr);
        std::vector<uint32_t> list;
        if (reply && reply->format == 32) {
            const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
            list.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        std::free(reply);
        return list;
    }

private:
    void SetProperty(xcb_atom_t property, xcb_atom_t type, uint8_t format, const void* data, size_t count) {
        xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, id_, property, type, format, static_cast<uint32_t>(count), data);
    }
    xcb_atom_t Atom(const char* name) {
        auto* reply =
            xcb_intern_atom_reply(conn_, xcb_intern_atom(conn_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
        std::free(reply);
        return atom;
    }
    // A round trip: everything asked before it has been done by the server.
    void Sync() { std::free(xcb_get_input_focus_reply(conn_, xcb_get_input_focus(conn_), nullptr)); }

    xcb_connection_t* conn_ = nullptr;
    xcb_window_t root_ = 0;
    xcb_window_t id_ = 0;
};

// A desktop painted in one colour: a window over the whole screen below every other, which no window
// manager manages (xsetroot paints nothing on this Xvfb).
inline std::unique_ptr<XTestWindow> PaintedDesktop(int width, int height, uint32_t colour, const std::string& display = "") {
    XTestWindow::Options paint;
    paint.Width = width;
    paint.Height = height;
    paint.OverrideRedirect = true;
    paint.Display = display;
    paint.Background = colour;
    auto desktop = std::make_unique<XTestWindow>(paint);
    desktop->Map();
    desktop->Lower();
    return desktop;
}

}  // namespace fw_test
