// One capture service of capture.xml.
//
// The capture job itself is not here yet: the entry keeps what capture.xml gives the job, its
// parameters and its shares, which the job takes over once it exists. The capture panel belongs to the
// main window, which finds it by Idx.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "app/settings/web_socket_entry.h"
#include "engine/capture/ScreenCaptureParams.h"
#include "engine/capture/StreamerList.h"

namespace app {

struct TCaptureListEntry {
    int32_t Idx = 0;  // from NextCaptureIndex; not stored
    bool Minimized = false;
    std::chrono::system_clock::time_point StartTime;  // set at start and stop; the panel's run time
    std::string Name;
    bool AutoStart = false;
    engine::TScreenCaptureParams Params;
    std::unique_ptr<engine::TStreamerList> Streamers;  // the job's shares; never null in a listed entry
    std::weak_ptr<TWebSocketEntry> WebSocket;  // not owned; a deleted web socket reads as none
    bool WebSocketAct = false;
};

}  // namespace app
