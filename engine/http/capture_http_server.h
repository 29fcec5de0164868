// One of the user's web servers: listens on one IPv4 address and port and serves the files below its
// root folder, into which the shares write their playlists, segments, snapshots and pages. A server
// marked external is served by an outside web server; then only its folder is kept.
//
// Activate, Deactivate and the setters belong to the user-interface thread (not while it holds
// GlobalLock: Deactivate waits for the connection threads). Requests run on the connection threads,
// which raise OnLog; the plain fields are read at Activate and take effect at the next activation.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/http/connection_thread_pool.h"
#include "engine/http/http_connection_limits.h"
#include "engine/http/http_listener.h"
#include "engine/http/http_server_host.h"
#include "engine/util/ip_address.h"

namespace engine {

class THttpRequestHandler;

class TCaptureHttpServer {
public:
    using TLogEvent = std::function<void(const TCaptureHttpServer& sender, const std::string& text)>;

    static constexpr int kDefaultPort = 80;
    static constexpr uint32_t kDefaultIpAddr = 0x7F000001;  // 127.0.0.1

    // With idx not 0 the server takes that number, creates its default root and is named after it.
    // The program's GlobalLock, AppClosing and HtmlDir setting are shared by every server.
    TCaptureHttpServer(int idx, std::string defaultIndexFile, std::shared_ptr<IHttpServerHost> host,
                       THttpConnectionLimits limits = {});
    ~TCaptureHttpServer();
    TCaptureHttpServer(const TCaptureHttpServer&) = delete;
    TCaptureHttpServer& operator=(const TCaptureHttpServer&) = delete;

    // Plain settings (httpserv.xml).
    bool Authentication = false;
    std::string Root;  // the folder served
    bool ExtHttpServer = false;
    std::string User;
    std::string Password;
    std::vector<std::string> FileList;  // extra files the capture jobs copy into share folders
    TLogEvent OnLog;                    // request, listening and error lines; raised on connection threads

    int Port() const { return port_; }
    uint32_t IpAddr() const { return ipAddr_; }
    int Idx() const { return idx_; }
    const std::string& Name() const { return name_; }
    const std::string& IndexHtml() const { return indexHtml_; }
    const std::string& DefaultRoot() const { return defaultRoot_; }
    const std::string& DefaultIndexFile() const { return defaultIndexFile_; }
    bool Listening() const { return listening_; }
    bool ListenError() const { return listenError_; }

    // A listening server stops at once, without a log line; Listening keeps what the last Activate or
    // Deactivate left, so the owner that activates the server again sees it as before the change.
    void SetPort(int port);
    void SetIpAddr(uint32_t ipAddr);
    void SetIdx(int idx);
    void SetName(const std::string& name);
    // Copies fileName (or, when that is no file, the default index file) to DefaultRoot + "index.html".
    // False, with a log line, when there is no default root or the copy fails.
    bool SetIndexHtml(const std::string& fileName);
    void CreateDefaultRoot();

    bool Activate();
    bool Deactivate();

    // Threads of the connection pool (running and idle), for the owner's status and for tests.
    size_t ConnectionThreadCount() const { return pool_.ThreadCount(); }

private:
    void Log(const std::string& text) const;
    void StopListening();
    std::shared_ptr<THttpRequestHandler> MakeHandler(const std::string& canonicalRoot);

    std::shared_ptr<IHttpServerHost> host_;
    THttpConnectionLimits limits_;
    int port_ = kDefaultPort;
    uint32_t ipAddr_ = kDefaultIpAddr;
    int idx_ = 0;
    std::string name_ = "Web-Server";
    std::string indexHtml_;
    std::string defaultRoot_;
    std::string defaultIndexFile_;
    bool listening_ = false;
    bool listenError_ = false;

    TConnectionThreadPool pool_;
    std::shared_ptr<THttpRequestHandler> handler_;  // the handler of the running listener
    std::unique_ptr<THttpListener> listener_;
};

}  // namespace engine
