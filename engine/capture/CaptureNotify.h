// What the capture workers tell the main window: wmCaptureNotify with the kind in WParam. Workers hold
// a notifier, never a window, so tests can count the notifications and a window that is gone simply
// receives nothing.
#pragma once

#include <cstdint>

#include "engine/util/capture_notify.h"  // wmCaptureNotify and its kinds

namespace engine {

// Posted, never sent: a worker never waits for the receiver.
class ICaptureNotifier {
public:
    virtual ~ICaptureNotifier() = default;
    virtual void Post(intptr_t wParam, intptr_t lParam) = 0;
};

}  // namespace engine
