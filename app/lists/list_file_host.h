// What the list files need of the program that owns the lists (the main window): the engine objects a
// new entry is born with. Tests use a small fake.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/capture/job/ScreenCapture.h"
#include "engine/graphs/WebSocketFilterGraph.h"
#include "engine/http/capture_http_server.h"

namespace app {

class IListFileHost {
public:
    virtual ~IListFileHost() = default;

    // The job of a new capture service with index idx: default settings, its share list with that
    // index's defaults, its events bound to the main window.
    virtual std::shared_ptr<engine::TScreenCapture> CreateCapture(int32_t idx) = 0;
    // A new web server with index idx (0: none yet) and the program's index file as its default, its log
    // event bound to the main window.
    virtual std::unique_ptr<engine::TCaptureHttpServer> CreateHttpServer(int idx) = 0;
    // A new audio graph of a web socket.
    virtual std::unique_ptr<engine::TWebSocketFilterGraph> CreateWebSocketGraph() = 0;
};

}  // namespace app
