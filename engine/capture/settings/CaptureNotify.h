// What the capture workers tell the main window: wmCaptureNotify with the kind in WParam. Workers hold
// a notifier, never a window, so tests can count the notifications and a window that is gone simply
// receives nothing.
#pragma once

#include "engine/util/capture_notify.h"  // wmCaptureNotify and its kinds
#include "platform/ui/message_poster.h"

namespace engine {

// Posted, never sent: a worker never waits for the receiver.
using ICaptureNotifier = platform::IMessagePoster;

}  // namespace engine
