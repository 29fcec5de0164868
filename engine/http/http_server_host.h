// What a web server needs from the program that owns it (the main window): the share a request path
// belongs to, and the window its notifications go to. Shares are named by id, never by pointer, so a
// share deleted before a notification is handled is simply not found.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/message_target.h"

namespace engine {

// The id of a share as carried in LParam; 0 is no share.
using TShareId = intptr_t;

// wmCaptureNotify to the main window, with the share in LParam (or 0).
constexpr uint32_t kWmCaptureNotify = 0xB800;
constexpr intptr_t kCnHttpRequest = 11;  // a snapshot of the share was asked for
constexpr intptr_t kCnHttpSend = 12;     // a file went out

class IHttpServerHost {
public:
    virtual ~IHttpServerHost() = default;

    // The share whose sub-folder occurs in pathPrefix (the request path up to "/capimg_"), or 0.
    // Called on connection threads while GlobalLock is held: the owner changes its capture and share
    // lists only under GlobalLock as well, so the walk never meets a list being changed.
    virtual TShareId FindShareIdForPath(const std::string& pathPrefix) = 0;

    // The window that receives wmCaptureNotify (posted, never sent).
    virtual platform::WindowHandle NotifyWindow() const = 0;
};

}  // namespace engine
