// Posts the capture workers' notifications as wmCaptureNotify to a window (the main window).
#pragma once

#include "engine/capture/CaptureNotify.h"
#include "platform/ui/message_target.h"

namespace engine {

class TWindowCaptureNotifier final : public ICaptureNotifier {
public:
    explicit TWindowCaptureNotifier(platform::WindowHandle window) : window_(window) {}
    void Post(intptr_t wParam, intptr_t lParam) override;

private:
    const platform::WindowHandle window_;
};

}  // namespace engine
