#include "bench/engine/http/logged_web_server.h"

#include <chrono>
#include <cstdio>

#include "bench/engine/http/keep_alive_clients.h"
#include "engine/settings/log_list.h"
#include "engine/settings/settings_store.h"

namespace fw_bench {
namespace {

constexpr auto kLogDrainInterval = std::chrono::seconds(1);

engine::TCaptureHttpServer& Configured(engine::TCaptureHttpServer& server, const std::filesystem::path& root) {
    server.OnLog = [](const engine::TCaptureHttpServer&, const std::string& text) {
        engine::LogList()->AppendIfFewerThan({text, std::chrono::system_clock::now(), engine::kLogInfo},
                                          engine::kMaxQueuedLogEntries);
    };
    server.Root = root.string() + "/";
    return server;
}

constexpr int kServerIdx = 1;

// The server makes its default root below the HTML folder when it is created: that folder is set first.
int ServerIdxWithHtmlDirBelow(const std::filesystem::path& work) {
    engine::UpdateSettings([&](engine::TSettings& s) { s.HtmlDir = (work / "html").string() + "/"; });
    return kServerIdx;
}

}  // namespace

TLoggedWebServer::TLoggedWebServer(const std::filesystem::path& work, const std::filesystem::path& root)
    : server_(ServerIdxWithHtmlDirBelow(work), "", nullptr), port_(FreeLoopbackPort()), drain_([this] { DrainLog(); }) {
    Configured(server_, root).SetPort(port_);
}

TLoggedWebServer::~TLoggedWebServer() {
    server_.Deactivate();
    stop_ = true;
    drain_.join();
}

bool TLoggedWebServer::Start() {
    if (server_.Activate()) return true;
    std::fprintf(stderr, "the web server did not start\n");
    return false;
}

void TLoggedWebServer::DrainLog() {
    while (!stop_) {
        std::this_thread::sleep_for(kLogDrainInterval);
        engine::LogList()->TakeAll();
    }
}

}  // namespace fw_bench
