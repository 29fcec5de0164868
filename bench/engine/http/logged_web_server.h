// Our web server as the program runs it, for the benchmarks: one server serving a folder on a free
// loopback port, every request line going into the log list, which is drained once a second as the
// main window does.
#pragma once

#include <atomic>
#include <filesystem>
#include <thread>

#include "engine/http/capture_http_server.h"

namespace fw_bench {

class TLoggedWebServer {
public:
    // HTML folder of the server's default root below work; serving root.
    TLoggedWebServer(const std::filesystem::path& work, const std::filesystem::path& root);
    ~TLoggedWebServer();
    TLoggedWebServer(const TLoggedWebServer&) = delete;
    TLoggedWebServer& operator=(const TLoggedWebServer&) = delete;

    // False (with a line on stderr) when it could not listen.
    bool Start();
    int Port() const { return port_; }

private:
    void DrainLog();

    engine::TCaptureHttpServer server_;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread drain_;
};

}  // namespace fw_bench
