#include "platform/display/fake_display.h"

#include <algorithm>

namespace platform {

TMonitorInfo FakeMonitor(int left, int top, int right, int bottom, bool primary) {
    TMonitorInfo m;
    m.Monitor = TRect{left, top, right, bottom};
    m.WorkArea = m.Monitor;
    m.Primary = primary;
    return m;
}

void TFakeDisplay::SetMonitors(std::vector<TMonitorInfo> monitors) {
    std::lock_guard lock(mutex_);
    monitors_ = std::move(monitors);
}

WindowId TFakeDisplay::AddWindow(const TFakeWindow& window) {
    std::lock_guard lock(mutex_);
    WindowId id = nextId_++;
    windows_[id] = window;
    stackPos_[id] = nextStackPos_++;
    return id;
}

void TFakeDisplay::RemoveWindow(WindowId w) {
    std::lock_guard lock(mutex_);
    windows_.erase(w);
    stackPos_.erase(w);
}

void TFakeDisplay::RaiseWindow(WindowId w) {
    std::lock_guard lock(mutex_);
    if (windows_.count(w)) stackPos_[w] = nextStackPos_++;
}

void TFakeDisplay::MoveWindow(WindowId w, const TRect& rect) {
    std::lock_guard lock(mutex_);
    if (auto it = windows_.find(w); it != windows_.end()) it->second.Rect = rect;
}

void TFakeDisplay::SetVisible(WindowId w, bool visible) {
    std::lock_guard lock(mutex_);
    if (auto it = windows_.find(w); it != windows_.end()) it->second.Visible = visible;
}

const TFakeWindow* TFakeDisplay::Find(WindowId w) const {
    auto it = windows_.find(w);
    return it == windows_.end() ? nullptr : &it->second;
}

std::vector<WindowId> TFakeDisplay::SiblingsBottomFirst(WindowId parent) const {
    std::vector<WindowId> ids;
    for (const auto& [id, win] : windows_)
        if (win.Parent == parent) ids.push_back(id);
    std::sort(ids.begin(), ids.end(), [this](WindowId a, WindowId b) { return stackPos_.at(a) < stackPos_.at(b); });
    return ids;
}

std::vector<TMonitorInfo> TFakeDisplay::Monitors() {
    std::lock_guard lock(mutex_);
    return monitors_;
}

std::vector<WindowId> TFakeDisplay::TopLevelWindows() {
    std::lock_guard lock(mutex_);
    std::vector<WindowId> shown;
    for (WindowId w : SiblingsBottomFirst(kNoWindow))
        if (windows_.at(w).Visible) shown.push_back(w);
    std::reverse(shown.begin(), shown.end());
    return shown;
}

bool TFakeDisplay::IsWindow(WindowId w) {
    std::lock_guard lock(mutex_);
    return Find(w) != nullptr;
}

bool TFakeDisplay::IsWindowVisible(WindowId w) {
    std::lock_guard lock(mutex_);
    const TFakeWindow* win = Find(w);
    return win && win->Visible;
}

std::optional<TRect> TFakeDisplay::GetWindowRect(WindowId w) {
    std::lock_guard lock(mutex_);
    const TFakeWindow* win = Find(w);
    if (!win) return std::nullopt;
    return win->Rect;
}

std::optional<TRect> TFakeDisplay::GetShownWindowRect(WindowId w) {
    std::lock_guard lock(mutex_);
    const TFakeWindow* win = Find(w);
    if (!win) return std::nullopt;
    TRect shown = win->Rect;
    for (const TFakeWindow* holder = Find(win->Parent); holder; holder = Find(holder->Parent))
        shown = shown.Intersection(holder->Rect);
    return shown;
}

std::optional<std::string> TFakeDisplay::GetWindowClass(WindowId w) {
    std::lock_guard lock(mutex_);
    const TFakeWindow* win = Find(w);
    if (!win) return std::nullopt;
    return WindowText(win->ClassName);
}

std::optional<std::string> TFakeDisplay::GetWindowCaption(WindowId w) {
    std::lock_guard lock(mutex_);
    const TFakeWindow* win = Find(w);
    if (!win) return std::nullopt;
    return WindowText(win->Caption);
}

WindowId TFakeDisplay::GetParentWindow(WindowId w) {
    std::lock_guard lock(mutex_);
    const TFakeWindow* win = Find(w);
    if (!win) return kNoWindow;
    return win->Parent != kNoWindow ? win->Parent : win->Owner;
}

WindowId TFakeDisplay::GetWindowAbove(WindowId w) {
    std::lock_guard lock(mutex_);
    const TFakeWindow* win = Find(w);
    if (!win) return kNoWindow;
    std::vector<WindowId> siblings = SiblingsBottomFirst(win->Parent);
    auto it = std::find(siblings.begin(), siblings.end(), w);
    if (it == siblings.end() || ++it == siblings.end()) return kNoWindow;
    return *it;
}

std::optional<pid_t> TFakeDisplay::GetWindowProcess(WindowId w) {
    std::lock_guard lock(mutex_);
    const TFakeWindow* win = Find(w);
    if (!win) return std::nullopt;
    return win->Process;
}

}  // namespace platform
