#include "platform/filters/CapturedWindow.h"

namespace platform {

TCapturedWindow::TCapturedWindow(std::string className, std::string caption)
    : className_(std::move(className)), caption_(std::move(caption)) {}

std::optional<TRect> TCapturedWindow::ShownRect(IDisplay& display) {
    if (!display.IsWindow(window_)) window_ = FindTopLevelWindow(display, className_, caption_);
    if (!display.IsWindowVisible(window_)) return std::nullopt;
    return display.GetShownWindowRect(window_);
}

bool TCapturedWindow::StillShown(IDisplay& display) { return display.IsWindowVisible(window_); }

}  // namespace platform
