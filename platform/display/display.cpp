#include "platform/display/display.h"

#include <algorithm>
#include <mutex>

#include "platform/display/xcb_display.h"
#include "platform/util/utf8_text.h"

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

std::string WindowText(std::string_view raw) {
    return Utf8Left(Utf8Repaired(raw.substr(0, raw.find('\0'))), kMaxWindowTextChars);
}

std::vector<WindowId> FindTopLevelWindows(IDisplay& display, const std::string& className, const std::string& caption,
                                          size_t maxTextBytes) {
    std::vector<WindowId> found;
    if (className.empty() && caption.empty()) return found;
    const auto compared = [maxTextBytes](std::string text) {
        text.resize(Utf8PrefixLength(text, maxTextBytes));
        return text;
    };
    // The names looked for are compared as a window would give them.
    const std::string cls = compared(WindowText(className));
    const std::string cap = compared(WindowText(caption));
    for (WindowId w : display.TopLevelWindows()) {
        if (!cls.empty() && compared(display.GetWindowClass(w).value_or("")) != cls) continue;
        if (!cap.empty() && compared(display.GetWindowCaption(w).value_or("")) != cap) continue;
        found.push_back(w);
    }
    return found;
}

WindowId FindTopLevelWindow(IDisplay& display, const std::string& className, const std::string& caption,
                            size_t maxTextBytes) {
    const std::vector<WindowId> found = FindTopLevelWindows(display, className, caption, maxTextBytes);
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
