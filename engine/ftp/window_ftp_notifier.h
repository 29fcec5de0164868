// Posts the mirror's notifications as wmFtpNotify to a window (the share's status tab). A window
// that is gone simply receives nothing.
#pragma once

#include "engine/ftp/ftp_notify.h"
#include "platform/ui/message_target.h"

namespace engine {

class WindowFtpNotifier final : public FtpNotifier {
public:
    explicit WindowFtpNotifier(platform::WindowHandle window) : window_(window) {}
    void Post(intptr_t wParam, intptr_t lParam) override;

private:
    const platform::WindowHandle window_;
};

}  // namespace engine
