#include "components/NetWmState.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "components/X11Window.h"

namespace components {

namespace {

// EWMH client message actions and the source of a normal application.
constexpr uint32_t kNetWmStateRemove = 0;
constexpr uint32_t kNetWmStateAdd = 1;
constexpr uint32_t kSourceApplication = 1;
constexpr uint32_t kMaxStates = 64;

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    std::unique_ptr<xcb_intern_atom_reply_t, FreeXcbReply> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

xcb_window_t RootOf(xcb_connection_t* c, xcb_window_t w) {
    std::unique_ptr<xcb_query_tree_reply_t, FreeXcbReply> reply(xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr));
    return reply ? reply->root : xcb_window_t(XCB_WINDOW_NONE);
}

void SendStateRequest(xcb_connection_t* c, xcb_window_t root, xcb_window_t w, xcb_atom_t netWmState, bool add,
                      xcb_atom_t first, xcb_atom_t second) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = w;
    event.type = netWmState;
    event.data.data32[0] = add ? kNetWmStateAdd : kNetWmStateRemove;
    event.data.data32[1] = first;
    event.data.data32[2] = second;
    event.data.data32[3] = kSourceApplication;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

// Keeps the states already there (the toolkit merges its own into them when it maps the window).
void WriteStateProperty(xcb_connection_t* c, xcb_window_t w, xcb_atom_t netWmState, bool add,
                        const std::vector<xcb_atom_t>& changed) {
    std::vector<xcb_atom_t> states;
    std::unique_ptr<xcb_get_property_reply_t, FreeXcbReply> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, netWmState, XCB_ATOM_ATOM, 0, kMaxStates), nullptr));
    if (reply && reply->type == XCB_ATOM_ATOM && reply->format == 32) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        states.assign(atoms, atoms + xcb_get_property_value_length(reply.get()) / sizeof(xcb_atom_t));
    }
    for (xcb_atom_t atom : changed) {
        const auto at = std::find(states.begin(), states.end(), atom);
        if (add && at == states.end()) states.push_back(atom);
        if (!add && at != states.end()) states.erase(at);
    }
    if (states.empty())
        xcb_delete_property(c, w, netWmState);
    else
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, netWmState, XCB_ATOM_ATOM, 32, uint32_t(states.size()),
                            states.data());
}

}  // namespace

bool TNetWmState::SetSkipTaskbar(QWidget& window, bool skip) {
    const std::optional<TX11Window> x11 = X11WindowOf(window);
    if (!x11) return false;
    xcb_connection_t* c = x11->Connection;
    const xcb_window_t w = x11->Window;
    const xcb_window_t root = RootOf(c, w);
    const xcb_atom_t netWmState = Atom(c, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = Atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    const xcb_atom_t skipPager = Atom(c, "_NET_WM_STATE_SKIP_PAGER");
    if (root == XCB_WINDOW_NONE || netWmState == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE ||
        skipPager == XCB_ATOM_NONE)
        return false;
    if (x11->Mapped)
        SendStateRequest(c, root, w, netWmState, skip, skipTaskbar, skipPager);
    else
        WriteStateProperty(c, w, netWmState, skip, {skipTaskbar, skipPager});
    xcb_flush(c);
    return true;
}

}  // namespace components
