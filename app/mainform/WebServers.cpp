#include "app/mainform/WebServers.h"

#include <exception>

#include "app/mainform/IndexTemplate.h"
#include "engine/settings/log_list.h"
#include "engine/util/ip_address.h"

namespace app {
namespace {

std::string ServerLogPrefix(const engine::TCaptureHttpServer& server) {
    return "HTTP [" + engine::IpAddrToText(server.IpAddr()) + ":" + std::to_string(server.Port()) + "] - ";
}

void QueueServerLog(const engine::TCaptureHttpServer& sender, const std::string& text) {
    QueueLogEntry(*engine::LogList(), ServerLogPrefix(sender) + text, engine::kLogInfo);
}

}  // namespace

TWebServers::TWebServers(std::shared_ptr<TCaptureServices> captures, TLogWriter writeLog)
    : captures_(std::move(captures)), writeLog_(std::move(writeLog)) {}

std::unique_ptr<engine::TCaptureHttpServer> TWebServers::Create(int idx) const {
    auto server = std::make_unique<engine::TCaptureHttpServer>(idx, IndexPage()->IndexHtmlFile, captures_);
    server->OnLog = &QueueServerLog;
    return server;
}

void TWebServers::StartStop(bool start) {
    for (const auto& entry : list_.Items()) {
        SetLeds(*entry, false);
        if (!entry->Server) continue;
        try {
            if (start && entry->AutoStart) {
                if (!entry->Server->Activate()) SetLeds(*entry, true);
            } else {
                entry->Server->Deactivate();
            }
        } catch (const std::exception& e) {
            writeLog_(ServerLogPrefix(*entry->Server) + e.what(), engine::kLogError);
        }
    }
}

void TWebServers::SetLeds(const THttpServerEntry& server, bool on) const {
    const engine::IShareHttpServer* bound = &server;
    for (const auto& entry : captures_->List().Items()) {
        ICapturePanel* panel = captures_->PanelOf(*entry);
        if (!panel) continue;
        for (const engine::PCaptureStreamer& share : entry->Capture->Streamers->Items())
            if (share->Protocol == engine::kShareProtocolHttp && share->HttpServer.get() == bound)
                panel->SetShareHttpError(*share, on);
    }
}

bool TWebServers::AnyListening() const {
    for (const auto& server : list_.Items())
        if (server->Server && server->Server->Listening()) return true;
    return false;
}

void TWebServers::Free() {
    for (const auto& server : list_.Items())
        if (server->Server) server->Server->Deactivate();
    list_.Clear();
}

}  // namespace app
