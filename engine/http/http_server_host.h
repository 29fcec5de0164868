// What a web server needs from the program that owns it (the capture services): the share a request
// path belongs to, and where its notifications go. Shares are named by id, never by pointer, so a
// share deleted before a notification is handled is simply not found.
#pragma once

#include <cstdint>
#include <string>

#include "engine/util/capture_notify.h"  // wmCaptureNotify and its kinds
#include "platform/ui/message_poster.h"

namespace engine {

// The id of a share as carried in LParam; 0 is no share.
using TShareId = intptr_t;

class IHttpServerHost {
public:
    virtual ~IHttpServerHost() = default;

    // The share whose sub-folder occurs in pathPrefix (the request path up to "/capimg_"), or 0.
    // Called on connection threads while GlobalLock is held: the owner changes its capture and share
    // lists, and the shares' sub-folders, only under GlobalLock as well, so the walk never meets a list
    // or a share being changed.
    virtual TShareId FindShareIdForPath(const std::string& pathPrefix) = 0;

    // Where the wmCaptureNotify kinds go (cnHttpRequest, cnHttpSend with the share), as the capture
    // workers' notifications do: posted, never sent.
    virtual platform::IMessagePoster& Notifier() = 0;
};

}  // namespace engine
