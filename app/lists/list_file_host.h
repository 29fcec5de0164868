// What the list files need of the program that owns the lists (the main window): the engine objects a
// new entry is born with, and what follows once a capture service was read. Tests use a small fake.
#pragma once

#include <memory>

#include "app/lists/capture_list_entry.h"
#include "engine/graphs/WebSocketFilterGraph.h"
#include "engine/http/capture_http_server.h"

namespace app {

class IListFileHost {
public:
    virtual ~IListFileHost() = default;

    // A new capture service: its index from NextCaptureIndex and its share list with that index's
    // defaults (the main window also makes its job and panel).
    virtual std::unique_ptr<TCaptureListEntry> InitCaptureEntry() = 0;
    // A capture service read from capture.xml and now listed: the main window prepares its job and
    // initialises its panel.
    virtual void CaptureEntryLoaded(TCaptureListEntry& entry) = 0;
    // A new web server with index idx (0: none yet) and the program's index file as its default, its log
    // event bound to the main window.
    virtual std::unique_ptr<engine::TCaptureHttpServer> CreateHttpServer(int idx) = 0;
    // A new audio graph of a web socket.
    virtual std::unique_ptr<engine::TWebSocketFilterGraph> CreateWebSocketGraph() = 0;
};

}  // namespace app
