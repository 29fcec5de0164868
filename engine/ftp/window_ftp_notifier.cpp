#include "engine/ftp/window_ftp_notifier.h"

namespace engine {

void WindowFtpNotifier::Post(intptr_t wParam, intptr_t lParam) {
    platform::PostMessage(window_, wmFtpNotify, wParam, lParam);
}

}  // namespace engine
