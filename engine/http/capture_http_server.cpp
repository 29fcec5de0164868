#include "engine/http/capture_http_server.h"

#include <filesystem>

#include "engine/http/http_connection.h"
#include "engine/http/http_request_handler.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "engine/util/atomic_file.h"
#include "engine/util/path_utils.h"
#include "platform/util/whole_file.h"

namespace engine {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxPort = 65535;
constexpr const char* kIndexFileName = "index.html";

}  // namespace

TCaptureHttpServer::TCaptureHttpServer(int idx, std::string defaultIndexFile, std::shared_ptr<IHttpServerHost> host,
                                       THttpConnectionLimits limits)
    : host_(std::move(host)), limits_(limits), defaultIndexFile_(std::move(defaultIndexFile)) {
    if (idx != 0) {
        SetIdx(idx);
        name_ = "Web-Server_" + std::to_string(idx);
    }
}

TCaptureHttpServer::~TCaptureHttpServer() { Deactivate(); }

void TCaptureHttpServer::Log(const std::string& text) const {
    if (OnLog) OnLog(*this, text);
}

void TCaptureHttpServer::CreateDefaultRoot() {
    std::string htmlDir = IncludeTrailingPathDelimiter(engine::Settings()->HtmlDir);
    defaultRoot_ = IncludeTrailingPathDelimiter(htmlDir + "WebServer_" + std::to_string(idx_));
    std::error_code ec;
    fs::create_directories(defaultRoot_, ec);
    if (ec) Log("HTTP Server default root " + defaultRoot_ + " failed: " + ec.message());
}

void TCaptureHttpServer::SetIdx(int idx) {
    idx_ = idx;
    CreateDefaultRoot();
}

void TCaptureHttpServer::SetName(const std::string& name) { name_ = name; }

bool TCaptureHttpServer::SetIndexHtml(const std::string& fileName) {
    std::error_code ec;
    std::string source = !fileName.empty() && fs::is_regular_file(fileName, ec) ? fileName : defaultIndexFile_;
    if (defaultRoot_.empty()) {
        Log("HTTP Server has no default root for " + std::string(kIndexFileName));
        return false;
    }
    fs::create_directories(defaultRoot_, ec);
    indexHtml_ = defaultRoot_ + kIndexFileName;
    std::string bytes;
    std::string error;
    if (platform::ReadWholeFile(source, bytes) != platform::WholeFileRead::Ok) {
        Log("HTTP Server index file " + source + " cannot be read");
        return false;
    }
    if (!WriteFileAtomic(indexHtml_, bytes, &error)) {
        Log("HTTP Server index file " + indexHtml_ + " cannot be written: " + error);
        return false;
    }
    return true;
}

void TCaptureHttpServer::StopListening() {
    if (listener_) listener_->Stop();
    pool_.Stop();
    listener_.reset();
    handler_.reset();
}

void TCaptureHttpServer::SetPort(int port) {
    if (listener_) StopListening();
    port_ = port;
}

void TCaptureHttpServer::SetIpAddr(uint32_t ipAddr) {
    if (listener_) StopListening();
    ipAddr_ = ipAddr;
}

std::shared_ptr<THttpRequestHandler> TCaptureHttpServer::MakeHandler(const std::string& canonicalRoot) {
    THttpServeSettings settings{canonicalRoot, Authentication, User, Password};
    TLogEvent onLog = OnLog;  // connection threads use this copy, never the field itself
    auto log = [this, onLog](const std::string& text) {
        if (onLog) onLog(*this, text);
    };
    return std::make_shared<THttpRequestHandler>(
        std::move(settings), engine::GlobalLock(), [] { return engine::AppClosing.load(); }, host_, std::move(log));
}

bool TCaptureHttpServer::Activate() {
    listenError_ = false;
    std::error_code ec;
    // An empty root would be the program's current folder: refused like a root that cannot be made.
    if (Root.empty() || (fs::create_directories(Root, ec), ec) || !fs::is_directory(Root, ec)) {
        Log("HTTP Server root directory failed");
        return false;
    }
    if (ExtHttpServer) return true;
    if (listener_) return true;

    const std::string address = IpAddrToText(ipAddr_);
    TListenFailure failure;
    fs::path canonicalRoot = fs::canonical(Root, ec);
    bool started = false;
    if (ec) {
        failure = {"root", ec.message()};
    } else if (port_ < 0 || port_ > kMaxPort) {
        failure = {"port", "port " + std::to_string(port_) + " out of range"};
    } else {
        handler_ = MakeHandler(canonicalRoot.string());
        auto handler = handler_;
        auto limits = limits_;
        listener_ = std::make_unique<THttpListener>(
            pool_,
            [handler, limits](int fd) { return std::make_shared<THttpConnection>(fd, handler, limits); },
            [this](const std::string& text) { Log(text); });
        started = listener_->Start(address, static_cast<uint16_t>(port_), failure);
        if (!started) StopListening();
    }
    if (started) {
        Log("HTTP Server Listening on " + address + ":" + std::to_string(port_) + ".");
    } else {
        Log("HTTP Server Exception " + failure.Kind + " in Activate. Error is:\"" + failure.Message + "\".");
    }
    listening_ = started;
    listenError_ = !started;
    return started;
}

bool TCaptureHttpServer::Deactivate() {
    listenError_ = false;
    if (ExtHttpServer) return true;
    if (!listener_) {
        listening_ = false;
        return false;
    }
    StopListening();
    Log("HTTP Server Stop listening.");
    listening_ = false;
    return true;
}

}  // namespace engine
