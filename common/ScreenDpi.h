// The screen resolution the start-up check compares with 96 dpi.
#pragma once

namespace app {

// The resolution the windows are laid out for.
constexpr int kDesignDpi = 96;

// The primary screen's logical dots per inch, rounded; 96 when there is no screen. Needs the
// application object (QGuiApplication or QApplication) to exist.
int PrimaryScreenLogicalDpi();

}  // namespace app
