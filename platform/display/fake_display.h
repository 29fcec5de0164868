// A display answered from tables: monitors and windows set by the test. Windows are stacked per
// parent in the order they were added (the last one on top) unless raised; the top-level windows
// are the visible windows without parent, top-most first. Thread-safe.
#pragma once

#include <map>
#include <mutex>

#include "platform/display/display.h"

namespace platform {

struct TFakeWindow {
    std::string ClassName;
    std::string Caption;
    TRect Rect;
    bool Visible = true;
    WindowId Parent = kNoWindow;  // kNoWindow: a top-level window
    WindowId Owner = kNoWindow;   // a top-level window's owner, reported as its parent
    std::optional<pid_t> Process;
};

class TFakeDisplay : public IDisplay {
public:
    void SetMonitors(std::vector<TMonitorInfo> monitors);
    // Adds (or replaces) a window; it goes on top of its siblings. Returns its id.
    WindowId AddWindow(const TFakeWindow& window);
    void RemoveWindow(WindowId w);
    void RaiseWindow(WindowId w);
    void MoveWindow(WindowId w, const TRect& rect);
    void SetVisible(WindowId w, bool visible);

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
    const TFakeWindow* Find(WindowId w) const;  // caller holds mutex_
    std::vector<WindowId> SiblingsBottomFirst(WindowId parent) const;

    std::mutex mutex_;
    std::vector<TMonitorInfo> monitors_;
    std::map<WindowId, TFakeWindow> windows_;
    std::map<WindowId, uint64_t> stackPos_;  // larger is higher
    uint64_t nextStackPos_ = 1;
    WindowId nextId_ = 0x100;
};

// Convenience for tables: a monitor whose work area is the whole monitor.
TMonitorInfo FakeMonitor(int left, int top, int right, int bottom, bool primary = false);

}  // namespace platform
