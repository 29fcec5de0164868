#include "components/InitialWindowState.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <optional>

#include "components/X11Window.h"

namespace components {

namespace {

// WM_HINTS: nine 32-bit fields, the flags first and the initial state third (ICCCM 4.1.2.4).
constexpr size_t kWmHintsFields = 9;
constexpr size_t kFlagsField = 0;
constexpr size_t kInitialStateField = 2;
constexpr uint32_t kStateHint = 1u << 1;
constexpr uint32_t kNormalState = 1;

}  // namespace

bool TInitialWindowState::SetNormal(QWidget& window) {
    const std::optional<TX11Window> x11 = X11WindowOf(window);
    if (!x11) return false;
    xcb_connection_t* c = x11->Connection;
    const xcb_window_t w = x11->Window;
    std::array<uint32_t, kWmHintsFields> hints{};
    std::unique_ptr<xcb_get_property_reply_t, FreeXcbReply> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, w, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, kWmHintsFields), nullptr));
    if (reply && reply->type == XCB_ATOM_WM_HINTS && reply->format == 32) {
        const size_t count = std::min<size_t>(kWmHintsFields, size_t(xcb_get_property_value_length(reply.get())) / 4);
        std::memcpy(hints.data(), xcb_get_property_value(reply.get()), count * 4);
    }
    hints[kFlagsField] |= kStateHint;
    hints[kInitialStateField] = kNormalState;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32, kWmHintsFields,
                        hints.data());
    xcb_flush(c);
    return true;
}

}  // namespace components
