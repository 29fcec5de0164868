#include "platform/filters/CapturedWindow.h"

#include "platform/filters/ScreenCaptureFilterParams.h"

namespace platform {

TCapturedWindow::TCapturedWindow(std::string className, std::string caption)
    : namedClass_(className), namedCaption_(caption), className_(std::move(className)), caption_(std::move(caption)) {}

std::optional<TRect> TCapturedWindow::ShownRect(IDisplay& display) {
    if (!display.IsWindow(window_)) {
        window_ = FindTopLevelWindow(display, className_, caption_, screen_capture_record::kWindowTextBytes);
        shownSince_.reset();
    }
    if (!display.IsWindowVisible(window_)) {
        shownSince_.reset();
        return std::nullopt;
    }
    const TClock::time_point now = TClock::now();
    if (!shownSince_) shownSince_ = now;
    if (now - *shownSince_ < std::chrono::milliseconds(kDrawnWithinMs)) return std::nullopt;
    if (auto cls = display.GetWindowClass(window_); cls && !cls->empty()) className_ = *cls;
    if (auto caption = display.GetWindowCaption(window_); caption && !caption->empty()) caption_ = *caption;
    return display.GetShownWindowRect(window_);
}

bool TCapturedWindow::StillShown(IDisplay& display) { return display.IsWindowVisible(window_); }

}  // namespace platform
