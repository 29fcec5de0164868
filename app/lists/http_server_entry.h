// One web server of httpserv.xml: its start flag and the server it owns. Shares are bound to the entry
// (as the web server whose root folder receives their files), so an entry outlives every share bound
// to it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/capture/settings/ShareHttpServer.h"
#include "engine/http/capture_http_server.h"

namespace app {

class THttpServerEntry final : public engine::IShareHttpServer {
public:
    explicit THttpServerEntry(std::unique_ptr<engine::TCaptureHttpServer> server, bool autoStart = false)
        : AutoStart(autoStart), Server(std::move(server)) {}

    bool AutoStart = false;  // started when all services are started
    std::unique_ptr<engine::TCaptureHttpServer> Server;

    // engine::IShareHttpServer; an entry without a server answers 0 and empty texts.
    int32_t IpAddr() const override;
    int32_t Port() const override;
    std::string Root() const override;
    std::string IndexHtml() const override;
    std::string DefaultIndexFile() const override;
    std::vector<std::string> FileList() const override;
};

}  // namespace app
