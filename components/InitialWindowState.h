// The state an X11 window asks the window manager for when it is mapped (ICCCM WM_HINTS, initial
// state). The toolkit writes it only when the program itself minimises or restores the window: after
// the window manager restored a minimised window the hint still says iconic, and the window, hidden
// and shown again, would come back minimised. Other platforms have no such hint: the call does nothing
// and answers false.
#pragma once

class QWidget;

namespace components {

class TInitialWindowState {
public:
    // The next mapping of window shows it normal, not iconic.
    static bool SetNormal(QWidget& window);
};

}  // namespace components
