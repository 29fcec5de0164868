#include "engine/util/window_utils.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>

namespace engine {

namespace {

// Guards the parent and stacking walks against a display that reports a cycle.
constexpr int kMaxWindowWalkSteps = 4096;

bool EndProcess(pid_t pid) {
    if (pid == ::getpid()) std::_Exit(kKilledProcessExitCode);
    return ::kill(pid, SIGKILL) == 0;
}

// The overlap of w with the first visible window above it that satisfies accept.
template <class Accept>
bool AnyCoverAbove(WindowId w, Accept accept) {
    auto display = platform::CurrentDisplay();
    std::optional<platform::TRect> own = display->GetWindowRect(w);
    if (!own) return false;
    WindowId above = display->GetWindowAbove(w);
    for (int step = 0; above != platform::kNoWindow && step < kMaxWindowWalkSteps; ++step) {
        if (display->IsWindowVisible(above)) {
            if (std::optional<platform::TRect> r = display->GetWindowRect(above)) {
                platform::TRect overlap = own->Intersection(*r);
                if (!overlap.IsEmpty() && accept(overlap)) return true;
            }
        }
        above = display->GetWindowAbove(above);
    }
    return false;
}

}  // namespace

bool IsWindowCovered(WindowId w) {
    return AnyCoverAbove(w, [](const platform::TRect&) { return true; });
}

bool IsWindowPointCovered(WindowId w, TPoint pt) {
    return AnyCoverAbove(w, [pt](const platform::TRect& overlap) { return overlap.Contains(pt); });
}

WindowId GetTopParentWindow(WindowId w) {
    auto display = platform::CurrentDisplay();
    WindowId current = w;
    for (int step = 0; step < kMaxWindowWalkSteps; ++step) {
        WindowId parent = display->GetParentWindow(current);
        if (parent == platform::kNoWindow || display->GetParentWindow(parent) == platform::kNoWindow) break;
        current = parent;
    }
    return current;
}

bool KillWindowProcess(WindowId w) {
    auto display = platform::CurrentDisplay();
    if (!display->IsWindow(w)) return false;
    std::optional<pid_t> pid = display->GetWindowProcess(w);
    return pid && EndProcess(*pid);
}

void TerminateWindowOwner(WindowId w) {
    std::optional<pid_t> pid = platform::CurrentDisplay()->GetWindowProcess(w);
    EndProcess(pid.value_or(::getpid()));
}

}  // namespace engine
