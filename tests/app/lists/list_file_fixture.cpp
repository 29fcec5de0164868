#include "tests/app/lists/list_file_fixture.h"

#include "app/lists/capture_list_file.h"
#include "app/lists/http_server_list_file.h"
#include "app/lists/web_socket_list_file.h"
#include "engine/settings/counters.h"
#include "engine/settings/log_list.h"
#include "engine/settings/settings_store.h"

namespace fw_test {

std::shared_ptr<engine::TScreenCapture> TFakeListFileHost::CreateCapture(int32_t idx) {
    made.push_back(idx);
    engine::TScreenCaptureServices services;
    services.ShareDefaults.CaptureIdx = idx;
    services.ShareDefaults.HtmlDir = htmlDir_;
    services.ShareDefaults.SubDir = "host";
    services.ShareDefaults.NextIndex = &engine::NextStreamerIndex;
    return engine::TScreenCapture::Create(idx, std::move(services));
}

std::unique_ptr<engine::TCaptureHttpServer> TFakeListFileHost::CreateHttpServer(int idx) {
    return std::make_unique<engine::TCaptureHttpServer>(idx, defaultIndexFile_, httpHost_);
}

std::unique_ptr<engine::TWebSocketFilterGraph> TFakeListFileHost::CreateWebSocketGraph() {
    return std::make_unique<engine::TWebSocketFilterGraph>();
}

void ListFileTest::SetUp() {
    const std::string htmlDir = (dir_ / "html").string() + "/";
    engine::UpdateSettings([&](engine::TSettings& s) {
        s.HtmlDir = htmlDir;
        s.Root = (dir_ / "htdocs").string() + "/";
        s.Ip = 2130706433;
        s.Port = 8088;
    });
    WriteFile(dir_ / "default-index.html", "<html>default</html>");
    host_ = std::make_unique<TFakeListFileHost>(htmlDir, PathOf("default-index.html"));
    engine::LogList()->TakeAll();
}

void ListFileTest::LoadAll() {
    app::LoadHttpServerList(&pool_, PathOf("httpserv.xml"), *host_, servers_);
    app::LoadWebSocketList(&pool_, PathOf("wsocket.xml"), *host_, sockets_);
    app::LoadCaptureList(&pool_, PathOf("capture.xml"), *host_, servers_, sockets_, captures_);
}

std::vector<std::filesystem::path> ListFileTest::KeptAside(const std::string& path) const {
    std::vector<std::filesystem::path> found;
    const std::string prefix = std::filesystem::path(path).filename().string() + ".damaged-";
    for (const auto& item : std::filesystem::directory_iterator(dir_.path()))
        if (item.path().filename().string().rfind(prefix, 0) == 0) found.push_back(item.path());
    return found;
}

std::vector<std::string> ListFileTest::LogLines() {
    std::vector<std::string> lines;
    for (const engine::TLogListEntry& e : engine::LogList()->TakeAll()) lines.push_back(e.Text);
    return lines;
}

}  // namespace fw_test
