#include "tests/app/program/main_window_probe.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace fw_test {
namespace {

constexpr const char* kMainCaption = "Framewick";
constexpr int kWalkDepth = 3;     // a tray host's icon lies in its panel's socket, below its frame
constexpr int kIconSizeMax = 32;  // what a tray gives an icon

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

}  // namespace

MainWindowProbe::MainWindowProbe(const std::string& display) : conn_(xcb_connect(display.c_str(), nullptr)) {}

MainWindowProbe::~MainWindowProbe() { xcb_disconnect(conn_); }

std::optional<Size> MainWindowProbe::MainWindowSize() {
    const std::optional<std::pair<xcb_window_t, Size>> found = MainWindow();
    if (!found) return std::nullopt;
    return found->second;
}

std::optional<std::pair<xcb_window_t, Size>> MainWindowProbe::MainWindow() {
    if (xcb_connection_has_error(conn_)) return std::nullopt;
    std::optional<std::pair<xcb_window_t, Size>> best;
    Walk(xcb_setup_roots_iterator(xcb_get_setup(conn_)).data->root, 0, [&](xcb_window_t child) {
        if (!Viewable(child) || Name(child) != kMainCaption) return;
        Reply<xcb_get_geometry_reply_t> g(xcb_get_geometry_reply(conn_, xcb_get_geometry(conn_, child), nullptr));
        if (g && (!best || g->width * g->height > best->second.Width * best->second.Height))
            best = std::make_pair(child, Size{g->width, g->height});
    });
    return best;
}

int MainWindowProbe::ProgramWindowsShown() {
    int shown = 0;
    Walk(xcb_setup_roots_iterator(xcb_get_setup(conn_)).data->root, 0, [&](xcb_window_t child) {
        shown += Viewable(child) && Name(child).starts_with(kMainCaption) && !IconSized(child);
    });
    return shown;
}

xcb_window_t MainWindowProbe::FrameOf(xcb_window_t w) {
    for (;;) {
        Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(conn_, xcb_query_tree(conn_, w), nullptr));
        if (!tree) return w;
        if (tree->parent == tree->root || tree->parent == XCB_NONE) return w;
        w = tree->parent;
    }
}

bool MainWindowProbe::Viewable(xcb_window_t w) {
    Reply<xcb_get_window_attributes_reply_t> a(
        xcb_get_window_attributes_reply(conn_, xcb_get_window_attributes(conn_, w), nullptr));
    return a && a->map_state == XCB_MAP_STATE_VIEWABLE;
}

std::optional<TScreenRect> MainWindowProbe::ScreenRect(xcb_window_t w) {
    Reply<xcb_get_geometry_reply_t> g(xcb_get_geometry_reply(conn_, xcb_get_geometry(conn_, w), nullptr));
    if (!g || !Viewable(w)) return std::nullopt;
    Reply<xcb_translate_coordinates_reply_t> at(
        xcb_translate_coordinates_reply(conn_, xcb_translate_coordinates(conn_, w, g->root, 0, 0), nullptr));
    if (!at) return std::nullopt;
    return TScreenRect{at->dst_x, at->dst_y, g->width, g->height};
}

std::optional<TScreenRect> MainWindowProbe::DockedIcon() {
    std::optional<TScreenRect> icon;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data->root;
    Walk(root, 0, [&](xcb_window_t child) {
        if (!icon && Viewable(child) && Name(child) == kMainCaption && IconSized(child) && FrameOf(child) != child)
            icon = ScreenRect(child);
    });
    return icon;
}

TScreenRect MainWindowProbe::WorkArea() {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data;
    TScreenRect area{0, 0, screen->width_in_pixels, screen->height_in_pixels};
    Reply<xcb_get_property_reply_t> p(xcb_get_property_reply(
        conn_, xcb_get_property(conn_, 0, screen->root, Atom("_NET_WORKAREA"), XCB_ATOM_CARDINAL, 0, 4), nullptr));
    if (!p || p->format != 32 || xcb_get_property_value_length(p.get()) != 4 * int(sizeof(uint32_t))) return area;
    const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(p.get()));
    return TScreenRect{int(v[0]), int(v[1]), int(v[2]), int(v[3])};
}

bool MainWindowProbe::HasNetWmState(xcb_window_t w, const char* state) {
    Reply<xcb_get_property_reply_t> p(xcb_get_property_reply(
        conn_, xcb_get_property(conn_, 0, w, Atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 64), nullptr));
    if (!p || p->format != 32) return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(p.get()));
    const xcb_atom_t wanted = Atom(state);
    for (int i = 0; i < xcb_get_property_value_length(p.get()) / int(sizeof(xcb_atom_t)); ++i)
        if (atoms[i] == wanted) return true;
    return false;
}

std::optional<uint32_t> MainWindowProbe::WmState(xcb_window_t w) {
    const xcb_atom_t wmState = Atom("WM_STATE");
    Reply<xcb_get_property_reply_t> p(
        xcb_get_property_reply(conn_, xcb_get_property(conn_, 0, w, wmState, wmState, 0, 2), nullptr));
    if (!p || p->format != 32 || xcb_get_property_value_length(p.get()) < int(sizeof(uint32_t))) return std::nullopt;
    return *static_cast<const uint32_t*>(xcb_get_property_value(p.get()));
}

bool MainWindowProbe::TrayHostUp() {
    Reply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(conn_, xcb_get_selection_owner(conn_, Atom("_NET_SYSTEM_TRAY_S0")), nullptr));
    return owner && owner->owner != XCB_NONE;
}

xcb_atom_t MainWindowProbe::Atom(const char* name) {
    Reply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(conn_, xcb_intern_atom(conn_, 0, uint16_t(std::strlen(name)), name), nullptr));
    return atom ? atom->atom : xcb_atom_t(XCB_NONE);
}

template <typename Visit>
void MainWindowProbe::Walk(xcb_window_t w, int depth, const Visit& visit) {
    Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(conn_, xcb_query_tree(conn_, w), nullptr));
    if (!tree) return;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        visit(children[i]);
        if (depth < kWalkDepth) Walk(children[i], depth + 1, visit);
    }
}

// _NET_WM_NAME where the window has one (a tray icon's WM_NAME is empty), else WM_NAME.
std::string MainWindowProbe::Name(xcb_window_t w) {
    for (const xcb_atom_t property : {Atom("_NET_WM_NAME"), xcb_atom_t(XCB_ATOM_WM_NAME)}) {
        Reply<xcb_get_property_reply_t> r(
            xcb_get_property_reply(conn_, xcb_get_property(conn_, 0, w, property, XCB_ATOM_ANY, 0, 256), nullptr));
        if (r && xcb_get_property_value_length(r.get()) > 0)
            return std::string(static_cast<const char*>(xcb_get_property_value(r.get())),
                               xcb_get_property_value_length(r.get()));
    }
    return {};
}

bool MainWindowProbe::IconSized(xcb_window_t w) {
    Reply<xcb_get_geometry_reply_t> g(xcb_get_geometry_reply(conn_, xcb_get_geometry(conn_, w), nullptr));
    return g && g->width <= kIconSizeMax && g->height <= kIconSizeMax;
}

}  // namespace fw_test
