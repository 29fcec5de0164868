// One web socket of wsocket.xml: where its audio graph serves the sound, and the graph itself.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/graphs/WebSocketFilterGraph.h"

namespace app {

constexpr int32_t kDefaultWebSocketPort = 8080;

struct TWebSocketEntry {
    int32_t Idx = 0;   // the identity capture.xml refers to
    int32_t Addr = 0;  // IPv4 address (shared integer)
    int32_t Port = 0;
    bool Active = false;
    std::string Name;
    std::unique_ptr<engine::TWebSocketFilterGraph> Graph;  // created with the entry
};

}  // namespace app
