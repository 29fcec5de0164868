// One capture service of capture.xml.
//
// The capture job belongs to the main window, which finds it (and the capture panel) by the entry.
// The entry keeps the job's parameters as capture.xml gives and saves them; its shares are the job's
// own list, not a copy, so every check over the shares sees what the editors changed at once.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "app/lists/web_socket_entry.h"
#include "engine/capture/settings/ScreenCaptureParams.h"
#include "engine/capture/settings/StreamerList.h"

namespace app {

struct TCaptureListEntry {
    int32_t Idx = 0;  // from NextCaptureIndex; not stored
    bool Minimized = false;
    std::chrono::system_clock::time_point StartTime;  // set at start and stop; the panel's run time
    std::string Name;
    bool AutoStart = false;
    engine::TScreenCaptureParams Params;
    std::shared_ptr<engine::TStreamerList> Streamers;  // the job's own share list; never null in a listed entry
    std::weak_ptr<TWebSocketEntry> WebSocket;  // not owned; a deleted web socket reads as none
    bool WebSocketAct = false;
};

}  // namespace app
