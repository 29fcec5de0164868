// The screen resolution the start-up check compares with 96 dpi.
#pragma once

#include <optional>
#include <string_view>

namespace app {

// The resolution the windows are laid out for.
constexpr int kDesignDpi = 96;

// The desktop's logical dots per inch, rounded: on X11 the resolution the user set (Xft.dpi of the X
// resource database), which Qt's own figure hides behind its scaling; elsewhere, or with none set, the
// primary screen's as Qt gives it; 96 when there is no screen. Needs the application object
// (QGuiApplication or QApplication) to exist.
int PrimaryScreenLogicalDpi();

// The Xft.dpi entry of an X resource database text ("name:\tvalue" lines), rounded; none when the
// entry is missing or holds no positive number.
std::optional<int> XftDpiOf(std::string_view resources);

}  // namespace app
