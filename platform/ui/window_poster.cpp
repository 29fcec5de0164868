#include "platform/ui/window_poster.h"

namespace platform {

void TWindowPoster::Post(intptr_t wParam, intptr_t lParam) { PostMessage(window_, message_, wParam, lParam); }

}  // namespace platform
