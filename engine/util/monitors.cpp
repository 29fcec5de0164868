#include "engine/util/monitors.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace engine {

namespace {
std::vector<TMonitorInfo> CurrentMonitors() { return platform::CurrentDisplay()->Monitors(); }

// Squared distance from pt to the nearest point of r.
long long DistanceSquared(const TRect& r, TPoint pt) {
    long long dx = pt.X < r.Left ? r.Left - pt.X : (pt.X >= r.Right ? pt.X - (r.Right - 1) : 0);
    long long dy = pt.Y < r.Top ? r.Top - pt.Y : (pt.Y >= r.Bottom ? pt.Y - (r.Bottom - 1) : 0);
    return dx * dx + dy * dy;
}
}  // namespace

int GetMonitorCount() { return static_cast<int>(CurrentMonitors().size()); }

std::optional<TMonitorInfo> GetMonitorInfoByIndex(int index) {
    std::vector<TMonitorInfo> monitors = CurrentMonitors();
    if (index < 1 || index > static_cast<int>(monitors.size())) return std::nullopt;
    return monitors[static_cast<size_t>(index - 1)];
}

int GetMonitorIndexAt(int x, int y) {
    std::vector<TMonitorInfo> monitors = CurrentMonitors();
    for (size_t i = 0; i < monitors.size(); ++i)
        if (monitors[i].Monitor.Contains(TPoint{x, y})) return static_cast<int>(i) + 1;
    return 1;
}

TPoint GetMonitorCenterPos(int monitor, int width, int height) {
    std::vector<TMonitorInfo> monitors = CurrentMonitors();
    if (monitors.empty()) return TPoint{};
    if (static_cast<int>(monitors.size()) < monitor || monitor < 1) monitor = 1;
    const TRect r = monitors[static_cast<size_t>(monitor - 1)].Monitor;
    // The stored positions were made with this arithmetic: offsets from the edge nearer the origin,
    // exact for monitors right of and below the primary and for those ending at 0 on its left or top.
    const int x = std::abs((std::abs(r.Right) - std::abs(r.Left)) / 2 - width / 2);
    const int y = std::abs((std::abs(r.Bottom) - std::abs(r.Top)) / 2 - height / 2);
    return TPoint{r.Left < 0 ? -x : r.Left + x, r.Top < 0 ? -y : r.Top + y};
}

TDesktopBounds GetDesktopBounds() {
    TDesktopBounds b;
    for (const auto& m : CurrentMonitors()) {
        b.Left = std::min(b.Left, m.Monitor.Left);
        b.Top = std::min(b.Top, m.Monitor.Top);
        b.Right = std::max(b.Right, m.Monitor.Right);
        b.Bottom = std::max(b.Bottom, m.Monitor.Bottom);
    }
    b.Width = std::abs(b.Left) + std::abs(b.Right);
    b.Height = std::abs(b.Top) + std::abs(b.Bottom);
    return b;
}

int GetDesktopLeft() { return GetDesktopBounds().Left; }
int GetDesktopTop() { return GetDesktopBounds().Top; }
int GetDesktopRight() { return GetDesktopBounds().Right; }
int GetDesktopBottom() { return GetDesktopBounds().Bottom; }

std::optional<TRect> GetNearestMonitorWorkArea(TPoint pt) {
    std::optional<TRect> best;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (const auto& m : CurrentMonitors()) {
        long long d = DistanceSquared(m.Monitor, pt);
        if (d < bestDistance) {
            bestDistance = d;
            best = m.WorkArea;
        }
    }
    return best;
}

}  // namespace engine
