// Framewick's windows as the X server of a test knows them, found without the program's own search:
// the main window is the viewable window called "Framewick" with the largest area, wherever it lies in
// the tree (on the root, or in a window manager's frame); its tray icon is the small viewable window of
// that name that a tray host has docked.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

namespace fw_test {

struct Size {
    int Width = 0, Height = 0;
};

struct TScreenRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    int Right() const { return Left + Width; }   // outside
    int Bottom() const { return Top + Height; }  // outside
    bool Inside(const TScreenRect& area) const {
        return Left >= area.Left && Top >= area.Top && Right() <= area.Right() && Bottom() <= area.Bottom();
    }
};

inline std::ostream& operator<<(std::ostream& out, const TScreenRect& r) {
    return out << r.Width << "x" << r.Height << " at " << r.Left << "," << r.Top;
}

class MainWindowProbe {
public:
    explicit MainWindowProbe(const std::string& display);
    ~MainWindowProbe();
    MainWindowProbe(const MainWindowProbe&) = delete;
    MainWindowProbe& operator=(const MainWindowProbe&) = delete;

    std::optional<Size> MainWindowSize();
    // The main window and its size.
    std::optional<std::pair<xcb_window_t, Size>> MainWindow();
    // How many windows of the program a person sees (the main window, a wait window, dialogs); the
    // icon in a tray is not one of them.
    int ProgramWindowsShown();
    // The window manager's frame around w (its ancestor on the root), or w itself.
    xcb_window_t FrameOf(xcb_window_t w);
    bool Viewable(xcb_window_t w);
    // Where w is on the screen; none while it is not viewable.
    std::optional<TScreenRect> ScreenRect(xcb_window_t w);
    // Where a tray host shows the program's icon; none while no tray holds it.
    std::optional<TScreenRect> DockedIcon();
    // The desktop's work area (_NET_WORKAREA of the first desktop), or the whole screen without one.
    TScreenRect WorkArea();
    // Whether w's _NET_WM_STATE holds state ("_NET_WM_STATE_SKIP_TASKBAR").
    bool HasNetWmState(xcb_window_t w, const char* state);
    // w's ICCCM state (XCB_ICCCM_WM_STATE_NORMAL 1, ICONIC 3); none while no window manager has it.
    std::optional<uint32_t> WmState(xcb_window_t w);
    // Whether some tray host holds the screen's notification area (_NET_SYSTEM_TRAY_S0).
    bool TrayHostUp();

private:
    xcb_atom_t Atom(const char* name);
    template <typename Visit>
    void Walk(xcb_window_t w, int depth, const Visit& visit);
    std::string Name(xcb_window_t w);
    bool IconSized(xcb_window_t w);

    xcb_connection_t* conn_;
};

}  // namespace fw_test
