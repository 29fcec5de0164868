// The display as the X server tells it: RandR 1.5 monitors, the EWMH work area, client list, frame
// extents and owning process, ICCCM class and name. The top-level windows are the running window
// manager's clients, else the root's children (a frame stands for the client inside it), keeping
// only viewable InputOutput windows that are not override-redirect. Without a reachable X server every query answers
// "nothing" (no monitors, no windows). One connection per object; xcb itself is thread-safe.
#pragma once

#include <xcb/xcb.h>

#include <memory>

#include "platform/display/display.h"

namespace platform {

class TXcbDisplay : public IDisplay {
public:
    // Connects to the X server named by displayName (nullptr: $DISPLAY).
    explicit TXcbDisplay(const char* displayName = nullptr);
    ~TXcbDisplay() override;
    TXcbDisplay(const TXcbDisplay&) = delete;
    TXcbDisplay& operator=(const TXcbDisplay&) = delete;

    bool Connected() const;

    std::vector<TMonitorInfo> Monitors() override;
    std::vector<WindowId> TopLevelWindows() override;
    bool IsWindow(WindowId w) override;
    bool IsWindowVisible(WindowId w) override;
    std::optional<TRect> GetWindowRect(WindowId w) override;
    std::optional<TRect> GetShownWindowRect(WindowId w) override;
    std::optional<std::string> GetWindowClass(WindowId w) override;
    std::optional<std::string> GetWindowCaption(WindowId w) override;
    WindowId GetParentWindow(WindowId w) override;
    WindowId GetWindowAbove(WindowId w) override;
    std::optional<pid_t> GetWindowProcess(WindowId w) override;

private:
    struct Atoms;
    struct ConnectionCloser {
        void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
    };

    std::optional<std::vector<uint32_t>> ReadCardinals(WindowId w, xcb_atom_t property, xcb_atom_t type);
    std::optional<std::string> ReadText(WindowId w, xcb_atom_t property, xcb_atom_t type);
    std::vector<WindowId> ReadWindowList(xcb_atom_t property);
    std::optional<TRect> ScreenWorkArea();
    std::vector<TMonitorInfo> RandrMonitors();
    // For each window, whether it carries the property.
    std::vector<bool> HaveProperty(const std::vector<WindowId>& windows, xcb_atom_t property);
    std::vector<WindowId> Children(WindowId w);
    WindowId ParentOf(WindowId w);
    // The window's own rectangle on the desktop (no frame added); none when w is no window.
    std::optional<TRect> OwnRect(WindowId w);
    bool WindowManagerRunning();
    // The managed client inside a window manager's frame; the frame itself when it holds none.
    WindowId ClientInFrame(WindowId frame);
    // Managed clients, or the root's children standing for them, bottom of the stacking order first.
    std::vector<WindowId> CandidateClientsBottomFirst();

    std::unique_ptr<xcb_connection_t, ConnectionCloser> conn_;
    xcb_window_t root_ = XCB_NONE;
    int screenWidth_ = 0;
    int screenHeight_ = 0;
    std::unique_ptr<Atoms> atoms_;
};

}  // namespace platform
