#include "app/startup/WaylandSession.h"

#include <cstdlib>
#include <cstring>

namespace app {

std::optional<std::string> WaylandSessionWarning(const char* sessionType, const char* waylandDisplay) {
    const bool wayland = (sessionType && std::strcmp(sessionType, "wayland") == 0) || (waylandDisplay && *waylandDisplay);
    if (!wayland) return std::nullopt;
    return "Wayland session: the X screen capture sees only X11 (XWayland) windows - every other window is "
           "captured as black";
}

std::optional<std::string> WaylandSessionWarning() {
    return WaylandSessionWarning(std::getenv("XDG_SESSION_TYPE"), std::getenv("WAYLAND_DISPLAY"));
}

}  // namespace app
