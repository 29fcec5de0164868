#include "platform/display/xcb_display.h"

#include <xcb/randr.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

// Largest property read, in 32-bit units (a client list of 16k windows, a long caption).
constexpr uint32_t kMaxPropertyLength32 = 16384;
// How deep a window manager's frame may nest the client it holds.
constexpr int kMaxFrameDepth = 3;

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
    xcb_atom_t NetSupportingWmCheck = XCB_NONE;
    xcb_atom_t WmState = XCB_NONE;
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
        {&atoms_->NetSupportingWmCheck, "_NET_SUPPORTING_WM_CHECK"},
        {&atoms_->WmState, "WM_STATE"},
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

bool TXcbDisplay::WindowManagerRunning() {
    // A window manager names a window of its own on the root, and that window names itself; the
    // root's property outlives the window manager, its window does not.
    auto check = ReadCardinals(root_, atoms_->NetSupportingWmCheck, XCB_ATOM_WINDOW);
    if (!check || check->empty()) return false;
    auto self = ReadCardinals((*check)[0], atoms_->NetSupportingWmCheck, XCB_ATOM_WINDOW);
    return self && !self->empty() && (*self)[0] == (*check)[0];
}

std::vector<bool> TXcbDisplay::HaveProperty(const std::vector<WindowId>& windows, xcb_atom_t property) {
    std::vector<bool> result(windows.size(), false);
    if (property == XCB_NONE) return result;
    xcb_connection_t* c = conn_.get();
    std::vector<xcb_get_property_cookie_t> cookies;
    cookies.reserve(windows.size());
    for (WindowId w : windows) cookies.push_back(xcb_get_property(c, 0, w, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 0));
    for (size_t i = 0; i < windows.size(); ++i) {
        XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(c, cookies[i], nullptr));
        result[i] = reply && reply->type != XCB_NONE;
    }
    return result;
}

WindowId TXcbDisplay::ClientInFrame(WindowId frame) {
    std::vector<WindowId> level{frame};
    for (int depth = 0; depth < kMaxFrameDepth && !level.empty(); ++depth) {
        std::vector<WindowId> next;
        for (WindowId w : level) {
            const std::vector<WindowId> inner = Children(w);
            const std::vector<bool> managed = HaveProperty(inner, atoms_->WmState);
            for (size_t i = 0; i < inner.size(); ++i)
                if (managed[i]) return inner[i];
            next.insert(next.end(), inner.begin(), inner.end());
        }
        level = std::move(next);
    }
    return frame;
}

std::vector<WindowId> TXcbDisplay::Children(WindowId w) {
    XcbReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(conn_.get(), xcb_query_tree(conn_.get(), w), nullptr));
    if (!tree) return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return std::vector<WindowId>(children, children + xcb_query_tree_children_length(tree.get()));
}

std::vector<WindowId> TXcbDisplay::CandidateClientsBottomFirst() {
    if (WindowManagerRunning()) {
        std::vector<WindowId> clients = ReadWindowList(atoms_->NetClientListStacking);
        if (clients.empty()) clients = ReadWindowList(atoms_->NetClientList);
        if (!clients.empty()) return clients;
    }
    // No window manager, one that has quit (its lists stay behind, stale) or one without lists. A
    // frame of a reparenting window manager carries neither WM_STATE nor WM_CLASS; the client inside
    // it carries WM_STATE. Without a window manager each child is a client itself.
    std::vector<WindowId> clients = Children(root_);
    const std::vector<bool> managed = HaveProperty(clients, atoms_->WmState);
    const std::vector<bool> named = HaveProperty(clients, XCB_ATOM_WM_CLASS);
    for (size_t i = 0; i < clients.size(); ++i)
        if (!managed[i] && !named[i]) clients[i] = ClientInFrame(clients[i]);
    return clients;
}

std::vector<WindowId> TXcbDisplay::TopLevelWindows() {
    if (!Connected()) return {};
    xcb_connection_t* c = conn_.get();
    const std::vector<WindowId> candidates = CandidateClientsBottomFirst();
    std::vector<xcb_get_window_attributes_cookie_t> cookies;
    cookies.reserve(candidates.size());
    for (WindowId w : candidates) cookies.push_back(xcb_get_window_attributes(c, w));
    std::vector<WindowId> seen;
    for (size_t i = 0; i < candidates.size(); ++i) {
        // A listed client that is gone answers with an error, which ends here.
        XcbReply<xcb_get_window_attributes_reply_t> attrs(xcb_get_window_attributes_reply(c, cookies[i], nullptr));
        if (!attrs || attrs->map_state != XCB_MAP_STATE_VIEWABLE || attrs->_class != XCB_WINDOW_CLASS_INPUT_OUTPUT ||
            attrs->override_redirect)
            continue;
        seen.push_back(candidates[i]);
    }
    std::reverse(seen.begin(), seen.end());
    return seen;
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

std::optional<TRect> TXcbDisplay::OwnRect(WindowId w) {
    xcb_connection_t* c = conn_.get();
    auto geometryCookie = xcb_get_geometry(c, w);
    auto translateCookie = xcb_translate_coordinates(c, w, root_, 0, 0);
    XcbReply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c, geometryCookie, nullptr));
    XcbReply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(c, translateCookie, nullptr));
    if (!geometry || !origin) return std::nullopt;
    return MakeRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
}

std::optional<TRect> TXcbDisplay::GetShownWindowRect(WindowId w) {
    std::optional<TRect> shown = GetWindowRect(w);
    if (!shown) return std::nullopt;
    for (WindowId holder = ParentOf(w); holder != XCB_NONE && holder != root_; holder = ParentOf(holder)) {
        const std::optional<TRect> rect = OwnRect(holder);
        if (!rect) return std::nullopt;  // gone while we looked
        shown = shown->Intersection(*rect);
    }
    return shown;
}

std::optional<TRect> TXcbDisplay::GetWindowRect(WindowId w) {
    if (!Connected() || w == kNoWindow) return std::nullopt;
    const std::optional<TRect> own = OwnRect(w);
    if (!own) return std::nullopt;
    TRect r = *own;
    // The window manager's frame: left, right, top, bottom. A window manager that quit leaves the
    // property behind on windows that are back on the root without a frame.
    if (ParentOf(w) == root_) return r;
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
    const size_t split = value->find('\0');
    return WindowText(split == std::string::npos ? *value : value->substr(split + 1));
}

std::optional<std::string> TXcbDisplay::GetWindowCaption(WindowId w) {
    if (!IsWindow(w)) return std::nullopt;
    if (auto name = ReadText(w, atoms_->NetWmName, atoms_->Utf8String)) return WindowText(*name);
    if (auto name = ReadText(w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING)) return WindowText(*name);
    return std::string();
}

WindowId TXcbDisplay::ParentOf(WindowId w) {
    XcbReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(conn_.get(), xcb_query_tree(conn_.get(), w), nullptr));
    return tree ? tree->parent : XCB_NONE;
}

WindowId TXcbDisplay::GetParentWindow(WindowId w) {
    if (!Connected() || w == kNoWindow) return kNoWindow;
    const WindowId parent = ParentOf(w);
    if (parent == XCB_NONE) return kNoWindow;
    if (parent != root_ && !IsTopLevelWindow(*this, w)) return parent;
    // A top-level window: its owner, when it names one.
    auto owner = ReadCardinals(w, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW);
    return owner && !owner->empty() ? (*owner)[0] : kNoWindow;
}

WindowId TXcbDisplay::GetWindowAbove(WindowId w) {
    if (!Connected() || w == kNoWindow) return kNoWindow;
    // Top-level windows stack as the search sees them (managed clients inside their frames).
    const std::vector<WindowId> topFirst = TopLevelWindows();
    if (auto it = std::find(topFirst.begin(), topFirst.end(), w); it != topFirst.end())
        return it == topFirst.begin() ? kNoWindow : *(it - 1);
    const WindowId parent = ParentOf(w);
    if (parent == XCB_NONE) return kNoWindow;
    const std::vector<WindowId> siblings = Children(parent);
    auto it = std::find(siblings.begin(), siblings.end(), w);
    if (it == siblings.end() || ++it == siblings.end()) return kNoWindow;
    return *it;
}

std::optional<pid_t> TXcbDisplay::GetWindowProcess(WindowId w) {
    auto pid = ReadCardinals(w, atoms_->NetWmPid, XCB_ATOM_CARDINAL);
    if (!pid || pid->empty() || (*pid)[0] == 0) return std::nullopt;
    return static_cast<pid_t>((*pid)[0]);
}

}  // namespace platform
