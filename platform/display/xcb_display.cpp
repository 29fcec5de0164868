#include "platform/display/xcb_display.h"

#include <xcb/randr.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

// Largest property read, in 32-bit units (a client list of 16k windows, a long caption).
constexpr uint32_t kMaxPropertyLength32 = 16384;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using XcbReply = std::unique_ptr<T, FreeDeleter>;

}  // namespace

struct TXcbDisplay::Atoms {
    xcb_atom_t NetWorkarea = XCB_NONE;
    xcb_atom_t NetCurrentDesktop = XCB_NONE;
    xcb_atom_t NetClientList = XCB_NONE;
    xcb_atom_t NetClientListStacking = XCB_NONE;
    xcb_atom_t NetWmName = XCB_NONE;
    xcb_atom_t Utf8String = XCB_NONE;
    xcb_atom_t NetFrameExtents = XCB_NONE;
    xcb_atom_t NetWmPid = XCB_NONE;
};

TXcbDisplay::TXcbDisplay(const char* displayName) : atoms_(std::make_unique<Atoms>()) {
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(displayName, &screenNumber);
    if (!c) return;
    conn_.reset(c);
    if (xcb_connection_has_error(c)) return;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem; ++i) xcb_screen_next(&it);
    if (!it.rem) return;
    root_ = it.data->root;
    screenWidth_ = it.data->width_in_pixels;
    screenHeight_ = it.data->height_in_pixels;

    const std::pair<xcb_atom_t*, const char*> names[] = {
        {&atoms_->NetWorkarea, "_NET_WORKAREA"},
        {&atoms_->NetCurrentDesktop, "_NET_CURRENT_DESKTOP"},
        {&atoms_->NetClientList, "_NET_CLIENT_LIST"},
        {&atoms_->NetClientListStacking, "_NET_CLIENT_LIST_STACKING"},
        {&atoms_->NetWmName, "_NET_WM_NAME"},
        {&atoms_->Utf8String, "UTF8_STRING"},
        {&atoms_->NetFrameExtents, "_NET_FRAME_EXTENTS"},
        {&atoms_->NetWmPid, "_NET_WM_PID"},
    };
    std::vector<xcb_intern_atom_cookie_t> cookies;
    for (const auto& [atom, name] : names)
        cookies.push_back(xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name));
    for (size_t i = 0; i < cookies.size(); ++i) {
        XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, cookies[i], nullptr));
        if (reply) *names[i].first = reply->atom;
    }
}

TXcbDisplay::~TXcbDisplay() = default;

bool TXcbDisplay::Connected() const { return conn_ && !xcb_connection_has_error(conn_.get()) && root_ != XCB_NONE; }

std::optional<std::vector<uint32_t>> TXcbDisplay::ReadCardinals(WindowId w, xcb_atom_t property, xcb_atom_t type) {
    if (!Connected() || property == XCB_NONE) return std::nullopt;
    auto cookie = xcb_get_property(conn_.get(), 0, w, property, type, 0, kMaxPropertyLength32);
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(conn_.get(), cookie, nullptr));
    if (!reply || reply->type != type || reply->format != 32) return std::nullopt;
    const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::vector<uint32_t>(data, data + count);
}

std::optional<std::string> TXcbDisplay::ReadText(WindowId w, xcb_atom_t property, xcb_atom_t type) {
    if (!Connected() || property == XCB_NONE) return std::nullopt;
    auto cookie = xcb_get_property(conn_.get(), 0, w, property, type, 0, kMaxPropertyLength32);
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(conn_.get(), cookie, nullptr));
    if (!reply || reply->type != type || reply->format != 8) return std::nullopt;
    const char* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return std::string(data, static_cast<size_t>(xcb_get_property_value_length(reply.get())));
}

std::vector<WindowId> TXcbDisplay::ReadWindowList(xcb_atom_t property) {
    auto list = ReadCardinals(root_, property, XCB_ATOM_WINDOW);
    return list ? std::vector<WindowId>(list->begin(), list->end()) : std::vector<WindowId>{};
}

std::optional<TRect> TXcbDisplay::ScreenWorkArea() {
    auto areas = ReadCardinals(root_, atoms_->NetWorkarea, XCB_ATOM_CARDINAL);
    if (!areas || areas->size() < 4) return std::nullopt;
    size_t desktop = 0;
    if (auto current = ReadCardinals(root_, atoms_->NetCurrentDesktop, XCB_ATOM_CARDINAL); current && !current->empty())
        desktop = (*current)[0];
    if ((desktop + 1) * 4 > areas->size()) desktop = 0;
    const uint32_t* a = areas->data() + desktop * 4;
    return MakeRect(static_cast<int32_t>(a[0]), static_cast<int32_t>(a[1]), static_cast<int>(a[2]), static_cast<int>(a[3]));
}

std::vector<TMonitorInfo> TXcbDisplay::RandrMonitors() {
    std::vector<TMonitorInfo> result;
    xcb_connection_t* c = conn_.get();
    XcbReply<xcb_randr_query_version_reply_t> version(
        xcb_randr_query_version_reply(c, xcb_randr_query_version(c, 1, 5), nullptr));
    if (!version || version->major_version < 1 || (version->major_version == 1 && version->minor_version < 5))
        return result;
    XcbReply<xcb_randr_get_monitors_reply_t> reply(
        xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, root_, 1), nullptr));
    if (!reply) return result;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem; xcb_randr_monitor_info_next(&it)) {
        TMonitorInfo m;
        m.Monitor = MakeRect(it.data->x, it.data->y, it.data->width, it.data->height);
        m.Primary = it.data->primary != 0;
        XcbReply<xcb_get_atom_name_reply_t> name(
            xcb_get_atom_name_reply(c, xcb_get_atom_name(c, it.data->name), nullptr));
        if (name) m.Name.assign(xcb_get_atom_name_name(name.get()), xcb_get_atom_name_name_length(name.get()));
        result.push_back(m);
    }
    return result;
}

std::vector<TMonitorInfo> TXcbDisplay::Monitors() {
    if (!Connected()) return {};
    std::vector<TMonitorInfo> monitors = RandrMonitors();
    if (monitors.empty()) {
        // No RandR 1.5: the whole screen is one monitor.
        TMonitorInfo whole;
        whole.Monitor = MakeRect(0, 0, screenWidth_, screenHeight_);
        whole.Primary = true;
        monitors.push_back(whole);
    }
    std::optional<TRect> work = ScreenWorkArea();
    for (auto& m : monitors) {
        TRect part = work ? m.Monitor.Intersection(*work) : TRect{};
        m.WorkArea = part.IsEmpty() ? m.Monitor : part;
    }
    return monitors;
}

std::vector<WindowId> TXcbDisplay::TopLevelWindows() {
    if (!Connected()) return {};
    if (auto clients = ReadCardinals(root_, atoms_->NetClientList, XCB_ATOM_WINDOW))
        return std::vector<WindowId>(clients->begin(), clients->end());
    XcbReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(conn_.get(), xcb_query_tree(conn_.get(), root_), nullptr));
    if (!tree) return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return std::vector<WindowId>(children, children + xcb_query_tree_children_length(tree.get()));
}

bool TXcbDisplay::IsWindow(WindowId w) {
    if (!Connected() || w == kNoWindow) return false;
    XcbReply<xcb_get_window_attributes_reply_t> attrs(
        xcb_get_window_attributes_reply(conn_.get(), xcb_get_window_attributes(conn_.get(), w), nullptr));
    return attrs != nullptr;
}

bool TXcbDisplay::IsWindowVisible(WindowId w) {
    if (!Connected() || w == kNoWindow) return false;
    XcbReply<xcb_get_window_attributes_reply_t> attrs(
        xcb_get_window_attributes_reply(conn_.get(), xcb_get_window_attributes(conn_.get(), w), nullptr));
    return attrs && attrs->map_state == XCB_MAP_STATE_VIEWABLE;
}

std::optional<TRect> TXcbDisplay::GetWindowRect(WindowId w) {
    if (!Connected() || w == kNoWindow) return std::nullopt;
    xcb_connection_t* c = conn_.get();
    auto geometryCookie = xcb_get_geometry(c, w);
    auto translateCookie = xcb_translate_coordinates(c, w, root_, 0, 0);
    XcbReply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, geometryCookie, nullptr));
    XcbReply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(c, translateCookie, nullptr));
    if (!geometry || !origin) return std::nullopt;
    TRect r = MakeRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    // The window manager's frame: left, right, top, bottom.
    if (auto extents = ReadCardinals(w, atoms_->NetFrameExtents, XCB_ATOM_CARDINAL); extents && extents->size() >= 4) {
        r.Left -= static_cast<int>((*extents)[0]);
        r.Right += static_cast<int>((*extents)[1]);
        r.Top -= static_cast<int>((*extents)[2]);
        r.Bottom += static_cast<int>((*extents)[3]);
    }
    return r;
}

std::optional<std::string> TXcbDisplay::GetWindowClass(WindowId w) {
    if (!IsWindow(w)) return std::nullopt;
    // WM_CLASS holds "instance\0class\0".
    std::optional<std::string> value = ReadText(w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING);
    if (!value) return std::string();
    size_t split = value->find('\0');
    if (split == std::string::npos) return *value;
    std::string cls = value->substr(split + 1);
    if (size_t end = cls.find('\0'); end != std::string::npos) cls.resize(end);
    return cls;
}

std::optional<std::string> TXcbDisplay::GetWindowCaption(WindowId w) {
    if (!IsWindow(w)) return std::nullopt;
    if (auto name = ReadText(w, atoms_->NetWmName, atoms_->Utf8String)) return name;
    if (auto name = ReadText(w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING)) return name;
    return std::string();
}

bool TXcbDisplay::IsManagedClient(WindowId w) {
    std::vector<WindowId> clients = ReadWindowList(atoms_->NetClientList);
    return std::find(clients.begin(), clients.end(), w) != clients.end();
}

WindowId TXcbDisplay::GetParentWindow(WindowId w) {
    if (!Connected() || w == kNoWindow) return kNoWindow;
    XcbReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(conn_.get(), xcb_query_tree(conn_.get(), w), nullptr));
    if (!tree) return kNoWindow;
    if (tree->parent != root_ && tree->parent != XCB_NONE && !IsManagedClient(w)) return tree->parent;
    // A top-level window: its owner, when it names one.
    auto owner = ReadCardinals(w, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW);
    return owner && !owner->empty() ? (*owner)[0] : kNoWindow;
}

WindowId TXcbDisplay::GetWindowAbove(WindowId w) {
    if (!Connected() || w == kNoWindow) return kNoWindow;
    // Managed windows stack inside their frames; the window manager tells their order (bottom first).
    std::vector<WindowId> stacking = ReadWindowList(atoms_->NetClientListStacking);
    if (auto it = std::find(stacking.begin(), stacking.end(), w); it != stacking.end())
        return ++it == stacking.end() ? kNoWindow : *it;
    xcb_connection_t* c = conn_.get();
    XcbReply<xcb_query_tree_reply_t> own(xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr));
    if (!own || own->parent == XCB_NONE) return kNoWindow;
    XcbReply<xcb_query_tree_reply_t> siblings(xcb_query_tree_reply(c, xcb_query_tree(c, own->parent), nullptr));
    if (!siblings) return kNoWindow;
    const xcb_window_t* children = xcb_query_tree_children(siblings.get());
    const xcb_window_t* end = children + xcb_query_tree_children_length(siblings.get());
    const xcb_window_t* it = std::find(children, end, w);
    if (it == end || ++it == end) return kNoWindow;
    return *it;
}

std::optional<pid_t> TXcbDisplay::GetWindowProcess(WindowId w) {
    auto pid = ReadCardinals(w, atoms_->NetWmPid, XCB_ATOM_CARDINAL);
    if (!pid || pid->empty() || (*pid)[0] == 0) return std::nullopt;
    return static_cast<pid_t>((*pid)[0]);
}

}  // namespace platform
