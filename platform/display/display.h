// The display layer: monitors and top-level windows of the desktop the program runs on.
//
// IDisplay is what the engine and the shell ask about the screen layout (monitors in the platform's
// order with their rectangles, work areas and the primary) and about windows (search by class and
// caption, rectangles including the window manager's frame, visibility, stacking and parents, the
// owning process). TXcbDisplay answers from the X server (RandR 1.5 monitors, EWMH properties);
// TFakeDisplay (fake_display.h) answers from tables so several-monitor layouts can be tested.
//
// CurrentDisplay() is the process-wide display every utility uses; tests replace it with
// SetCurrentDisplay(). Every call asks afresh (nothing is cached), so added or removed monitors and
// moved windows are seen at the next call. All methods may be called from any thread.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/display/geometry.h"

namespace platform {

// A window of the display server; 0 is "no window".
using WindowId = uint32_t;
constexpr WindowId kNoWindow = 0;

struct TMonitorInfo {
    TRect Monitor;   // the monitor's rectangle
    TRect WorkArea;  // the part not taken by panels and task bars; the monitor when unknown
    bool Primary = false;
    std::string Name;
};

class IDisplay {
public:
    virtual ~IDisplay() = default;

    // Monitors in the platform's enumeration order; empty when no display is reachable.
    virtual std::vector<TMonitorInfo> Monitors() = 0;

    // The top-level windows a person sees, top-most first: the running window manager's managed
    // clients (client windows, not their frames), else the root's viewable InputOutput children.
    // Unmapped, InputOnly and override-redirect windows (helper windows, menus, tool tips) are never
    // among them. Every window search, the window picker and the window watcher use this one list.
    virtual std::vector<WindowId> TopLevelWindows() = 0;

    virtual bool IsWindow(WindowId w) = 0;
    virtual bool IsWindowVisible(WindowId w) = 0;
    // The window's rectangle on the desktop, the window manager's frame included; none when w is no window.
    virtual std::optional<TRect> GetWindowRect(WindowId w) = 0;
    // The part of that rectangle the windows holding w leave on the desktop: cut to each of them (a
    // window manager's frame still being laid out shows less of its client than the client's size);
    // none when w is no window. Windows stacked above are not taken away.
    virtual std::optional<TRect> GetShownWindowRect(WindowId w) = 0;
    // The class name (WM_CLASS class part) and caption (_NET_WM_NAME, else WM_NAME) as WindowText gives
    // them; none when w is no window.
    virtual std::optional<std::string> GetWindowClass(WindowId w) = 0;
    virtual std::optional<std::string> GetWindowCaption(WindowId w) = 0;
    // The parent window; for a top-level window its owner (transient-for) or kNoWindow.
    virtual WindowId GetParentWindow(WindowId w) = 0;
    // The sibling directly above w in the stacking order; kNoWindow at the top or when w is no window.
    virtual WindowId GetWindowAbove(WindowId w) = 0;
    // The process that owns w, when the window tells it.
    virtual std::optional<pid_t> GetWindowProcess(WindowId w) = 0;
};

// A window's text holds at most this many characters, whatever the window sets (the platform the
// program was designed on read window texts into a buffer of 255 characters with its NUL).
inline constexpr size_t kMaxWindowTextChars = 254;

// A class name or caption as a window gives it and the program takes it: up to its first NUL, made
// valid UTF-8 (another program may set any bytes) and cut to kMaxWindowTextChars characters. The
// window picker, every window search and the captures all see a window's texts this way.
std::string WindowText(std::string_view raw);

// The process-wide display: the X server named by $DISPLAY unless a test set another one.
std::shared_ptr<IDisplay> CurrentDisplay();
// Replaces the process-wide display (nullptr returns to the X server).
void SetCurrentDisplay(std::shared_ptr<IDisplay> display);

// Every top-level window whose class and caption equal the given texts, top-most first; an empty
// text matches any. Both empty: no search, nothing found. The texts looked for are taken as WindowText
// takes a window's (a caption typed longer than a window can have finds the window it begins). A
// search told maxTextBytes compares all texts as a field of that many bytes carries them: each cut
// before the UTF-8 character that would not fit whole (Utf8PrefixLength).
std::vector<WindowId> FindTopLevelWindows(IDisplay& display, const std::string& className, const std::string& caption,
                                          size_t maxTextBytes = std::string::npos);
// The top-most of them: when several windows share class and caption, the one a person sees on top
// wins. kNoWindow when there is none.
WindowId FindTopLevelWindow(IDisplay& display, const std::string& className, const std::string& caption,
                            size_t maxTextBytes = std::string::npos);
// True while w is one of the top-level windows a person sees (shown, not gone, not a helper window).
bool IsTopLevelWindow(IDisplay& display, WindowId w);

// The first monitor marked primary, else the first monitor; none without monitors.
std::optional<TMonitorInfo> PrimaryMonitor(IDisplay& display);

}  // namespace platform
