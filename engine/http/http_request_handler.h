// How one web server handles a request, on the connection threads:
//   1. while the program closes, refuse at once (503);
//   2. check the credentials before anything the request sent is logged; log the command and a
//      POST's fields; map the path below the root;
//   3. under GlobalLock: for a snapshot path ("/capimg_") find its share and post cnHttpRequest, and
//      open the mapped file; the file opened is the file sent, whatever a snapshot writer renames
//      over its name afterwards;
//   4. answer the session page, an error page, or HEAD with type and length; refuse a file that a
//      writer holds (503);
//   5. the connection sends the opened file outside the lock, then cnHttpSend is posted (when bytes
//      went out) and the transfer is logged. A slow client holds nobody up.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "engine/http/http_reply.h"
#include "engine/http/http_server_host.h"

namespace engine {

constexpr int kInUseRetryAfterSeconds = 1;

// What a listening server serves; fixed from its activation until it stops.
struct THttpServeSettings {
    std::filesystem::path CanonicalRoot;
    bool Authentication = false;
    std::string User;
    std::string Password;
};

class THttpRequestHandler : public IHttpRequestHandler {
public:
    using TLogFunction = std::function<void(const std::string&)>;
    using TClosingQuery = std::function<bool()>;

    THttpRequestHandler(THttpServeSettings settings, std::recursive_mutex& globalLock, TClosingQuery appClosing,
                        std::shared_ptr<IHttpServerHost> host, TLogFunction log);

    THttpReply Handle(const THttpRequest& request, const THttpPeer& peer) override;
    void ConnectionError(const std::string& message) override;

    // The document up to and including the "/" that begins the first "/capimg_", or "" without one.
    static std::string SnapshotPathPrefix(const std::string& document);

private:
    THttpReply ServeFile(const THttpPeer& peer, TServedFile file, TShareId share);
    void Log(const std::string& text) const;
    void Notify(intptr_t code, TShareId share) const;

    const THttpServeSettings settings_;
    std::recursive_mutex& globalLock_;
    TClosingQuery appClosing_;
    std::shared_ptr<IHttpServerHost> host_;
    TLogFunction log_;
};

}  // namespace engine
