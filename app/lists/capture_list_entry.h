// One capture service of capture.xml.
//
// The entry owns its capture job: the job's Params and share list are the service's only settings,
// read from capture.xml into the job and saved from it, and what the editors write back into. The
// main window keeps the service's panel by the entry.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "app/lists/web_socket_entry.h"
#include "engine/capture/job/ScreenCapture.h"

namespace app {

struct TCaptureListEntry {
    int32_t Idx = 0;  // from NextCaptureIndex; not stored
    bool Minimized = false;
    // Set by the capture service at every start and stop; the panel's run time counts from it.
    std::chrono::system_clock::time_point StartTime;
    std::string Name;
    bool AutoStart = false;
    // Owned; never null in a listed entry. Shared only so that a job let go inside one of its own
    // operations lives until that operation returns.
    std::shared_ptr<engine::TScreenCapture> Capture;
    std::weak_ptr<TWebSocketEntry> WebSocket;  // not owned; a deleted web socket reads as none
    bool WebSocketAct = false;
};

}  // namespace app
