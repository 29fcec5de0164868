#include "platform/display/display.h"

#include <algorithm>
#include <mutex>

#include "platform/display/xcb_display.h"

namespace platform {

namespace {
std::mutex g_displayMutex;
std::shared_ptr<IDisplay> g_display;
}  // namespace

std::shared_ptr<IDisplay> CurrentDisplay() {
    std::lock_guard lock(g_displayMutex);
    if (!g_display) g_display = std::make_shared<TXcbDisplay>();
    return g_display;
}

void SetCurrentDisplay(std::shared_ptr<IDisplay> display) {
    std::lock_guard lock(g_displayMutex);
    g_display = std::move(display);
}

std::vector<WindowId> FindTopLevelWindows(IDisplay& display, const std::string& className, const std::string& caption) {
    std::vector<WindowId> found;
    if (className.empty() && caption.empty()) return found;
    for (WindowId w : display.TopLevelWindows()) {
        if (!className.empty() && display.GetWindowClass(w).value_or("") != className) continue;
        if (!caption.empty() && display.GetWindowCaption(w).value_or("") != caption) continue;
        found.push_back(w);
    }
    return found;
}

WindowId FindTopLevelWindow(IDisplay& display, const std::string& className, const std::string& caption) {
    const std::vector<WindowId> found = FindTopLevelWindows(display, className, caption);
    return found.empty() ? kNoWindow : found.front();
}

bool IsTopLevelWindow(IDisplay& display, WindowId w) {
    if (w == kNoWindow) return false;
    const std::vector<WindowId> windows = display.TopLevelWindows();
    return std::find(windows.begin(), windows.end(), w) != windows.end();
}

std::optional<TMonitorInfo> PrimaryMonitor(IDisplay& display) {
    std::vector<TMonitorInfo> monitors = display.Monitors();
    for (const auto& m : monitors)
        if (m.Primary) return m;
    if (monitors.empty()) return std::nullopt;
    return monitors.front();
}

}  // namespace platform
