// Window messages in the manner of PostMessage. A receiver owns a MessageTarget (made and destroyed on
// its own thread, holding its handler); the target has a non-zero WindowHandle, never reused, that
// other threads keep instead of a pointer. PostMessage queues the message as a Qt event (one event
// type per message id) and the handler runs later on the target's thread, in posting order per
// sender. A message to a target that is gone, or that goes before the message is delivered, is
// dropped; PostMessage tells which it was at the time of posting. There are no blocking sends.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

using WindowHandle = uint32_t;
using MessageHandler = std::function<void(uint32_t msg, intptr_t wParam, intptr_t lParam)>;

class MessageTarget {
public:
    explicit MessageTarget(MessageHandler handler);
    // May run inside this target's own handler.
    ~MessageTarget();
    MessageTarget(const MessageTarget&) = delete;
    MessageTarget& operator=(const MessageTarget&) = delete;

    WindowHandle Handle() const { return handle_; }

    class Receiver;  // the QObject that receives the events

private:
    Receiver* receiver_;
    WindowHandle handle_;
};

// Thread-safe. False (and nothing posted) when no target has that handle.
bool PostMessage(WindowHandle target, uint32_t msg, intptr_t wParam, intptr_t lParam);

}  // namespace platform
