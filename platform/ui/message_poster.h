// Where a worker's notifications go: one message id, posted with WParam and LParam. Posted, never
// sent, so a worker never waits for the receiver. Workers hold a poster, never a window, so tests can
// record what was posted and a window that is gone simply receives nothing.
#pragma once

#include <cstdint>

namespace platform {

class IMessagePoster {
public:
    virtual ~IMessagePoster() = default;
    virtual void Post(intptr_t wParam, intptr_t lParam) = 0;
};

// Posts nowhere: for a sender that belongs to no window.
class TNoPoster final : public IMessagePoster {
public:
    void Post(intptr_t, intptr_t) override {}
};

}  // namespace platform
