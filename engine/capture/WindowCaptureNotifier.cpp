#include "engine/capture/WindowCaptureNotifier.h"

namespace engine {

void TWindowCaptureNotifier::Post(intptr_t wParam, intptr_t lParam) {
    platform::PostMessage(window_, kWmCaptureNotify, wParam, lParam);
}

}  // namespace engine
