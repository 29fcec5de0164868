#include "common/ScreenDpi.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QScreen>
#include <charconv>
#include <cmath>
#include <memory>
#include <string>

#include "components/X11Window.h"

namespace app {
namespace {

constexpr std::string_view kXftDpiResource = "Xft.dpi:";
constexpr std::string_view kBlanks = " \t\r";
constexpr double kMaxDpi = 10000;  // anything above is no resolution a desktop is set to
constexpr uint32_t kMaxResourceWords = 1u << 20;  // 4 MiB of resource text, far beyond any real one

// The RESOURCE_MANAGER text of the first screen's root, where xrdb keeps it; empty without one.
std::string X11ResourceDatabase(xcb_connection_t* c) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!screen) return {};
    std::unique_ptr<xcb_get_property_reply_t, components::FreeXcbReply> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, screen->root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, kMaxResourceWords),
        nullptr));
    if (!reply || reply->format != 8) return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<size_t>(xcb_get_property_value_length(reply.get())));
}

std::optional<int> X11DesktopDpi() {
    xcb_connection_t* c = components::X11Connection();
    if (!c) return std::nullopt;
    return XftDpiOf(X11ResourceDatabase(c));
}

}  // namespace

std::optional<int> XftDpiOf(std::string_view resources) {
    for (size_t start = 0; start < resources.size();) {
        size_t end = resources.find('\n', start);
        if (end == std::string_view::npos) end = resources.size();
        std::string_view line = resources.substr(start, end - start);
        start = end + 1;
        if (line.substr(0, kXftDpiResource.size()) != kXftDpiResource) continue;
        line.remove_prefix(kXftDpiResource.size());
        const size_t first = line.find_first_not_of(kBlanks);
        line.remove_prefix(first == std::string_view::npos ? line.size() : first);
        double dpi = 0;
        const auto [rest, error] = std::from_chars(line.data(), line.data() + line.size(), dpi);
        const bool blankAfter = std::string_view(rest, line.data() + line.size() - rest).find_first_not_of(kBlanks) ==
                                std::string_view::npos;
        if (error != std::errc() || !blankAfter || !(dpi >= 1 && dpi <= kMaxDpi)) return std::nullopt;
        return static_cast<int>(std::lround(dpi));
    }
    return std::nullopt;
}

int PrimaryScreenLogicalDpi() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return kDesignDpi;
    if (const std::optional<int> desktop = X11DesktopDpi()) return *desktop;
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(std::lround(screen->logicalDotsPerInch())) : kDesignDpi;
}

}  // namespace app
