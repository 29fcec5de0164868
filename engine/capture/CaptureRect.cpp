#include "engine/capture/CaptureRect.h"

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

// Says plainly when the capture does not show the window it names, or which of several it shows.
void LogWindowSearch(platform::IDisplay& display, const TCaptureWindow& window, const CaptureLog& log) {
    if (!log) return;
    if (display.Monitors().empty()) {
        log("the display cannot be reached - " + WindowName(window) + " cannot be captured", kLogLevelError);
        return;
    }
    if (!platform::IsTopLevelWindow(display, window.Handle)) {
        log(WindowName(window) + " not found - the primary screen is captured until it is shown", kLogLevelError);
        return;
    }
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

bool UpdateWindowRect(TCaptureWindow& window) {
    const auto display = platform::CurrentDisplay();
    // A window that was closed or hidden is searched again, among the windows a person sees.
    if (!platform::IsTopLevelWindow(*display, window.Handle))
        window.Handle = platform::FindTopLevelWindow(*display, window.sClass, window.sCaption);

    platform::TRect rect{0, 0, 100, 100};
    if (const auto found = display->GetWindowRect(window.Handle)) rect = *found;
    if (window.Handle != platform::kNoWindow) {
        // Either text may change while the other stays; keeping both current finds the window again.
        if (auto cls = display->GetWindowClass(window.Handle); cls && !cls->empty() && *cls != window.sClass)
            window.sClass = *cls;
        if (auto caption = display->GetWindowCaption(window.Handle); caption && !caption->empty() && *caption != window.sCaption)
            window.sCaption = *caption;
    }

    int32_t left = rect.Left;
    int32_t top = rect.Top;
    int32_t width = rect.Width();
    int32_t height = rect.Height();
    if (window.bAdjust) {
        const platform::TRect screen = PrimaryScreenRect(*display);
        left = std::max(left, 0);
        top = std::max(top, 0);
        width = std::min(width, screen.Width());
        height = std::min(height, screen.Height());
    }
    const bool same = left == window.Left && top == window.Top && width == window.Width && height == window.Height;
    window.Left = left;
    window.Top = top;
    window.Width = width;
    window.Height = height;
    return same;
}

void FindCaptureWindow(TCaptureWindow& window) {
    const auto display = platform::CurrentDisplay();
    if (platform::IsTopLevelWindow(*display, window.Handle)) return;
    if (platform::FindTopLevelWindow(*display, window.sClass, window.sCaption) != platform::kNoWindow) return;
    window.Left = 0;
    window.Top = 0;
    window.Width = 100;
    window.Height = 100;
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

void CalcCaptureRect(TScreenCaptureParams& params, const CaptureLog& log) {
    params.CaptureRect = {};
    params.RectWidth = params.RectHeight = 0;
    params.FrameWidth = params.FrameHeight = 0;
    params.ScaledWidth = params.ScaledHeight = 0;
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
            // shown, moved or closed since, and the watcher compares with what is captured now.
            UpdateWindowRect(params.Window);
            const auto display = platform::CurrentDisplay();
            if (platform::IsTopLevelWindow(*display, params.Window.Handle)) {
                if (const auto rect = display->GetWindowRect(params.Window.Handle)) r = *rect;
            } else {
                r = PrimaryScreenRect(*display);
            }
            LogWindowSearch(*display, params.Window, log);
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
    params.CaptureRect = r;
    int32_t w = params.RectWidth = r.Width();
    int32_t h = params.RectHeight = r.Height();
    if (filterScales) {
        params.FrameWidth = w;
        params.FrameHeight = h;
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
        params.ScaledWidth = w;
        params.ScaledHeight = h;
    } else {
        params.FrameWidth = w;
        params.FrameHeight = h;
    }
}

}  // namespace engine
