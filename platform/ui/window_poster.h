// Posts a worker's notifications as one message id to a window (PostMessage).
#pragma once

#include "platform/ui/message_poster.h"
#include "platform/ui/message_target.h"

namespace platform {

class TWindowPoster final : public IMessagePoster {
public:
    TWindowPoster(WindowHandle window, uint32_t message) : window_(window), message_(message) {}
    void Post(intptr_t wParam, intptr_t lParam) override;

private:
    const WindowHandle window_;
    const uint32_t message_;
};

}  // namespace platform
