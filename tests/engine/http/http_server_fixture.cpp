#include "tests/engine/http/http_server_fixture.h"

#include <QCoreApplication>

#include <algorithm>
#include <future>

#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"

namespace fw_test {

namespace {

void EnsureEventLoop() {
    static int argc = 1;
    static char name[] = "engine_http_test";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QCoreApplication> application =
        QCoreApplication::instance() ? nullptr : std::make_unique<QCoreApplication>(argc, argv);
}

}  // namespace

TFakeHttpHost::TFakeHttpHost()
    : window_([this](uint32_t msg, intptr_t wParam, intptr_t lParam) {
          if (msg == engine::kWmCaptureNotify) notifications_.push_back({wParam, lParam});
      }) {}

void TFakeHttpHost::AddShare(const std::string& subDir, engine::TShareId id) {
    std::lock_guard lock(mutex_);
    shares_.emplace_back(subDir, id);
}

engine::TShareId TFakeHttpHost::FindShareIdForPath(const std::string& pathPrefix) {
    // Another thread cannot take the lock while this connection thread holds it.
    bool locked = std::async(std::launch::async, [this] {
                      if (!engine::GlobalLock().try_lock()) return true;
                      engine::GlobalLock().unlock();
                      return false;
                  }).get();
    if (!locked) everyLookupLocked_ = false;
    std::lock_guard lock(mutex_);
    lookups_.push_back(pathPrefix);
    for (const auto& [subDir, id] : shares_) {
        if (!subDir.empty() && pathPrefix.find(subDir) != std::string::npos) return id;
    }
    return 0;
}

std::vector<TNotification> TFakeHttpHost::Notifications() {
    QCoreApplication::processEvents();
    return notifications_;
}

bool TFakeHttpHost::WaitForNotifications(size_t count) {
    return WaitUntil([&] { return Notifications().size() >= count; }, std::chrono::seconds(5));
}

std::vector<std::string> TFakeHttpHost::Lookups() const {
    std::lock_guard lock(mutex_);
    return lookups_;
}

void HttpServerFixture::SetUp() {
    EnsureEventLoop();
    host_ = std::make_shared<TFakeHttpHost>();
    std::filesystem::create_directories(Root());
    std::string htmlDir = (dir_.path() / "html").string() + "/";
    engine::UpdateSettings([&](engine::TSettings& settings) { settings.HtmlDir = htmlDir; });
}

void HttpServerFixture::TearDown() { engine::AppClosing = false; }

std::unique_ptr<engine::TCaptureHttpServer> HttpServerFixture::MakeServer(int idx,
                                                                          engine::THttpConnectionLimits limits) {
    auto server = std::make_unique<engine::TCaptureHttpServer>(idx, "", host_, limits);
    server->OnLog = [this](const engine::TCaptureHttpServer&, const std::string& text) {
        std::lock_guard lock(logMutex_);
        log_.push_back(text);
    };
    server->Root = Root().string() + "/";
    server->SetIpAddr(0x7F000001);
    return server;
}

std::unique_ptr<engine::TCaptureHttpServer> HttpServerFixture::StartServer(engine::THttpConnectionLimits limits) {
    auto server = MakeServer(1, limits);
    port_ = FreeTcpPort();
    server->SetPort(port_);
    EXPECT_TRUE(server->Activate());
    return server;
}

std::vector<std::string> HttpServerFixture::LogLines() const {
    std::lock_guard lock(logMutex_);
    return log_;
}

bool HttpServerFixture::LogContains(const std::string& part) const {
    auto lines = LogLines();
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

}  // namespace fw_test
