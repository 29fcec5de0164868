// Whether the program runs in a Wayland session, where the X screen capture sees only the windows of
// X11 programs (through XWayland) and every other window as black.
#pragma once

#include <optional>
#include <string>

namespace app {

// The start-up warning for a Wayland session, none for any other. The arguments are the values of
// XDG_SESSION_TYPE and WAYLAND_DISPLAY (nullptr when unset).
std::optional<std::string> WaylandSessionWarning(const char* sessionType, const char* waylandDisplay);
// The same for the environment of this process.
std::optional<std::string> WaylandSessionWarning();

}  // namespace app
