#include "engine/capture/settings/CaptureRect.h"

#include <array>
#include <cmath>
#include <cstdlib>

#include "engine/util/monitors.h"

namespace engine {
namespace {

struct ScaleEntry {
    int percent;
    const char* graphText;
    const char* method0Text;
};

constexpr std::array<ScaleEntry, 14> kScaleTable = {{{100, "1.0", "1"},
                                                     {90, "0.9", "0.9"},
                                                     {80, "0.8", "0.8"},
                                                     {75, "0.75", "0.75"},
                                                     {70, "0.7", "0.7"},
                                                     {60, "0.6", "0.6"},
                                                     {50, "0.5", "0.5"},
                                                     {40, "0.4", "0.4"},
                                                     {30, "0.3", "0.3"},
                                                     {25, "0.25", "0.25"},
                                                     {20, "0.2", "0.2"},
                                                     {10, "0.1", "0.1"},
                                                     {200, "2.0", "2"},
                                                     {150, "1.5", "1.5"}}};

const ScaleEntry* FindScale(unsigned index) { return index < kScaleTable.size() ? &kScaleTable[index] : nullptr; }

platform::TRect PrimaryScreenRect(platform::IDisplay& display) {
    const auto primary = platform::PrimaryMonitor(display);
    return primary ? primary->Monitor : platform::TRect{};
}

int32_t RoundUpToStep(int32_t size) {
    const int32_t remainder = size % kFrameSizeStep;  // sign of size, as the original arithmetic
    return remainder == 0 ? size : size - remainder + kFrameSizeStep;
}

std::string RectText(const platform::TRect& r) {
    return " L:" + std::to_string(r.Left) + " T:" + std::to_string(r.Top) + " R:" + std::to_string(r.Right) +
           " B:" + std::to_string(r.Bottom);
}

std::string WindowName(const TCaptureWindow& window) {
    return "window \"" + window.sCaption + "\" (class \"" + window.sClass + "\")";
}

// One line for each change of the followed window's state, none while it lasts.
void ReportWindowState(const TCaptureWindow& window, TFollowedWindow& followed, TWindowState state,
                       const CaptureLog& log) {
    if (!log || state == followed.ReportedState) return;
    const TWindowState before = followed.ReportedState;
    followed.ReportedState = state;
    const std::string name = WindowName(window);
    switch (state) {
        case TWindowState::Shown:
            if (before == TWindowState::Hidden) log(name + " is shown again", kLogLevelInfo);
            if (before == TWindowState::NotFound)
                log(name + (followed.LastShownRect ? " is found again" : " is found"), kLogLevelInfo);
            break;
        case TWindowState::Hidden:
            log(name + " is hidden - black pictures are published until it is shown", kLogLevelInfo);
            break;
        case TWindowState::NotFound:
            if (before == TWindowState::Unknown)
                log(name + " not found - black pictures are published until it is shown", kLogLevelError);
            else
                log(name + " is gone - black pictures are published until it is found again", kLogLevelError);
            break;
        case TWindowState::Unknown:
            break;
    }
}

// Says plainly which of several windows of the same class and caption the capture shows.
void LogSharedWindow(platform::IDisplay& display, const TCaptureWindow& window, const TFollowedWindow& followed,
                     const CaptureLog& log) {
    if (!log || followed.ReportedState != TWindowState::Shown) return;
    const size_t sharing = platform::FindTopLevelWindows(display, window.sClass, window.sCaption).size();
    if (sharing > 1)
        log(std::to_string(sharing) + " windows match " + WindowName(window) + " - the top-most one is captured",
            kLogLevelInfo);
}

}  // namespace

int ScalePercent(uint8_t vidScale) {
    const ScaleEntry* entry = FindScale(vidScale);
    return entry ? entry->percent : 100;
}

std::string ScaleIndexToStr(uint8_t index) {
    const ScaleEntry* entry = FindScale(index & 0x7F);
    return entry ? entry->graphText : "1";
}

std::string Method0ScaleText(uint8_t vidScale) {
    const ScaleEntry* entry = FindScale(vidScale);
    return entry ? entry->method0Text : "1";
}

bool UpdateWindowRect(TCaptureWindow& window, TFollowedWindow& followed, const CaptureLog& log) {
    const auto display = platform::CurrentDisplay();
    // A window keeps its handle for as long as it exists, shown or not. Only a window that is gone is
    // searched again, and only among the windows a person sees.
    if (!display->IsWindow(followed.Handle))
        followed.Handle = platform::FindTopLevelWindow(*display, window.sClass, window.sCaption);
    std::optional<platform::TRect> rect;
    if (followed.Handle != platform::kNoWindow) {
        if (display->IsWindowVisible(followed.Handle)) {
            rect = display->GetWindowRect(followed.Handle);
            if (!rect) followed.Handle = platform::kNoWindow;  // gone between the two questions
        } else if (!display->IsWindow(followed.Handle)) {
            followed.Handle = platform::kNoWindow;  // not shown because it was gone by then
        }
    }
    if (!rect) {
        // Hidden or gone: the capture goes on with black pictures of the last size, and nothing here
        // asks for a restart until the window is shown again.
        const bool hidden = followed.Handle != platform::kNoWindow;
        ReportWindowState(window, followed, hidden ? TWindowState::Hidden : TWindowState::NotFound, log);
        return true;
    }
    // Either text may change while the other stays; keeping both current finds the window again.
    if (auto cls = display->GetWindowClass(followed.Handle); cls && !cls->empty() && *cls != window.sClass)
        window.sClass = *cls;
    if (auto caption = display->GetWindowCaption(followed.Handle);
        caption && !caption->empty() && *caption != window.sCaption)
        window.sCaption = *caption;
    ReportWindowState(window, followed, TWindowState::Shown, log);
    followed.LastShownRect = rect;

    int32_t left = rect->Left;
    int32_t top = rect->Top;
    int32_t width = rect->Width();
    int32_t height = rect->Height();
    if (window.bAdjust) {
        const platform::TRect screen = PrimaryScreenRect(*display);
        left = std::max(left, 0);
        top = std::max(top, 0);
        width = std::min(width, screen.Width());
        height = std::min(height, screen.Height());
    }
    // A window found again in the same place needs no new start: the capture graph finds it by itself.
    const bool same =
        left == followed.Left && top == followed.Top && width == followed.Width && height == followed.Height;
    followed.Left = left;
    followed.Top = top;
    followed.Width = width;
    followed.Height = height;
    return same;
}

bool WindowShown(const TFollowedWindow& followed) {
    return followed.Handle != platform::kNoWindow && platform::CurrentDisplay()->IsWindowVisible(followed.Handle);
}

std::string WindowCaptureRefusal(const TScreenCaptureParams& params, const TFollowedWindow& followed) {
    if (params.capKind != kCapKindWindow) return "";
    if (params.Window.sClass.empty() && params.Window.sCaption.empty())
        return "the window capture names no window (class and caption are empty)";
    if (params.capEncoder == kCapEncoderVlc && !WindowShown(followed))
        return WindowName(params.Window) + " is not shown - libVLC reads the screen itself and would show what lies there";
    return "";
}

void FindCaptureWindow(const TCaptureWindow& window, TFollowedWindow& followed) {
    const auto display = platform::CurrentDisplay();
    if (display->IsWindow(followed.Handle)) return;
    if (platform::FindTopLevelWindow(*display, window.sClass, window.sCaption) != platform::kNoWindow) return;
    followed.Left = 0;
    followed.Top = 0;
    followed.Width = 100;
    followed.Height = 100;
}

void CheckParams(TScreenCaptureParams& params, const CaptureLog& log) {
    if (params.capKind == kCapKindMonitor && params.capDesktopNo > GetMonitorCount()) {
        if (log) log("wrong monitor-idx:" + std::to_string(params.capDesktopNo) + " - monitor-idx is set to 1", kLogLevelError);
        params.capDesktopNo = 1;
    }
    if (params.capKind == kCapKindArea) {
        const TDesktopBounds desktop = GetDesktopBounds();
        const platform::TRect bounds{desktop.Left, desktop.Top, desktop.Right, desktop.Bottom};
        if (!bounds.Contains({params.iLeft, params.iTop})) {
            if (log) log("defined area is outside the desktop-area - reset to default", kLogLevelError);
            params.iLeft = desktop.Left;
            params.iTop = desktop.Top;
            params.iWidth = kDefaultAreaSize;
            params.iHeight = kDefaultAreaSize;
        }
    }
}

void CalcCaptureRect(TScreenCaptureParams& params, TCaptureGeometry& geometry, const CaptureLog& log) {
    geometry.CaptureRect = {};
    geometry.RectWidth = geometry.RectHeight = 0;
    geometry.FrameWidth = geometry.FrameHeight = 0;
    geometry.ScaledWidth = geometry.ScaledHeight = 0;
    platform::TRect r;

    switch (params.capKind) {
        case kCapKindAllMonitors: {
            const int count = GetMonitorCount();
            if (log) log("Monitor-Count: " + std::to_string(count), kLogLevelInfo);
            for (int i = 1; i <= count; ++i) {
                const auto info = GetMonitorInfoByIndex(i);
                if (!info) continue;
                const platform::TRect& m = info->Monitor;
                if (log) log("[Monitor_" + std::to_string(i) + "]" + RectText(m), kLogLevelInfo);
                r = {std::min(r.Left, m.Left), std::min(r.Top, m.Top), std::max(r.Right, m.Right), std::max(r.Bottom, m.Bottom)};
            }
            break;
        }
        case kCapKindMonitor:
            if (const auto info = GetMonitorInfoByIndex(params.capDesktopNo)) r = info->Monitor;
            break;
        case kCapKindWindow: {
            // Searched again at every start: the window found when the job was prepared may have been
            // shown, hidden, moved or closed since, and the watcher compares with what is captured now.
            const auto display = platform::CurrentDisplay();
            if (display->Monitors().empty()) {
                UpdateWindowRect(params.Window, geometry.Window, nullptr);
                if (log) log("the display cannot be reached - " + WindowName(params.Window) + " cannot be captured", kLogLevelError);
            } else {
                UpdateWindowRect(params.Window, geometry.Window, log);
                LogSharedWindow(*display, params.Window, geometry.Window, log);
            }
            // A window hidden or gone keeps its last size; one never seen has the primary screen's.
            r = geometry.Window.LastShownRect.value_or(PrimaryScreenRect(*display));
            break;
        }
        case kCapKindArea:
            r = platform::MakeRect(params.iLeft, params.iTop, params.iWidth, params.iHeight);
            break;
        default:  // transport stream and files: no rectangle
            break;
    }

    const int percent = ScalePercent(params.vidScale);
    const bool filterScales = percent != 100 && params.bPreScale;
    geometry.CaptureRect = r;
    int32_t w = geometry.RectWidth = r.Width();
    int32_t h = geometry.RectHeight = r.Height();
    if (filterScales) {
        geometry.FrameWidth = w;
        geometry.FrameHeight = h;
        w = static_cast<int32_t>(std::nearbyint(w * percent / 100.0));  // halves to the even neighbour
        h = static_cast<int32_t>(std::nearbyint(h * percent / 100.0));
    }
    w = std::abs(RoundUpToStep(w));
    h = std::abs(RoundUpToStep(h));
    // A picture smaller than one step (an empty area, a collapsed window) is still one libVLC can read.
    if (params.capKind <= kCapKindArea) {
        w = std::max(w, kMinFrameSize);
        h = std::max(h, kMinFrameSize);
    }
    if (filterScales) {
        geometry.ScaledWidth = w;
        geometry.ScaledHeight = h;
    } else {
        geometry.FrameWidth = w;
        geometry.FrameHeight = h;
    }
}

}  // namespace engine
