// A web server of the program as the shares bound to it see it: its address, port, root folder, index
// page and extra files. The share keeps the server alive; everything is read on the user-interface
// thread when a capture job starts.
#pragma once

#include <memory>

#include "engine/capture/settings/ShareHttpServer.h"
#include "engine/http/capture_http_server.h"

namespace engine {

class TCaptureHttpServerShare final : public IShareHttpServer {
public:
    explicit TCaptureHttpServerShare(std::shared_ptr<TCaptureHttpServer> server) : server_(std::move(server)) {}

    int32_t IpAddr() const override { return static_cast<int32_t>(server_->IpAddr()); }
    int32_t Port() const override { return server_->Port(); }
    std::string Root() const override;
    std::string IndexHtml() const override { return server_->IndexHtml(); }
    std::string DefaultIndexFile() const override { return server_->DefaultIndexFile(); }
    std::vector<std::string> FileList() const override { return server_->FileList; }

    const std::shared_ptr<TCaptureHttpServer>& Server() const { return server_; }

private:
    std::shared_ptr<TCaptureHttpServer> server_;
};

}  // namespace engine
