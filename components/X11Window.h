// The program's X11 connection and the native window of a widget, for the few window properties the
// toolkit does not set itself. Off X11 there is neither.
#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <optional>

class QWidget;

namespace components {

struct TX11Window {
    xcb_connection_t* Connection = nullptr;
    xcb_window_t Window = XCB_WINDOW_NONE;
    bool Mapped = false;  // what the toolkit asked for: shown, not hidden
};

// The program's connection to the X server; none off X11.
xcb_connection_t* X11Connection();

// The window of widget (made when there is none) on the program's connection; none off X11.
std::optional<TX11Window> X11WindowOf(QWidget& widget);

// Frees an xcb reply (std::unique_ptr<reply_t, FreeXcbReply>).
struct FreeXcbReply {
    void operator()(void* reply) const { std::free(reply); }
};

}  // namespace components
