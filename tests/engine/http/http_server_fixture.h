// A web server on a free loopback port with a fake owner: the owner's share lookup and the
// notifications it receives are recorded, as is every log line.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/http/capture_http_server.h"
#include "platform/ui/message_target.h"
#include "platform/ui/window_poster.h"
#include "tests/engine/http/http_test_client.h"
#include "tests/support/test_env.h"

namespace fw_test {

struct TNotification {
    intptr_t Code;
    engine::TShareId Share;
    bool operator==(const TNotification&) const = default;
};

// The main window's part: its share lookup (recorded, with whether GlobalLock was held) and its
// window, which records the wmCaptureNotify messages it receives on the test's thread.
class TFakeHttpHost : public engine::IHttpServerHost {
public:
    TFakeHttpHost();

    void AddShare(const std::string& subDir, engine::TShareId id);
    engine::TShareId FindShareIdForPath(const std::string& pathPrefix) override;
    platform::IMessagePoster& Notifier() override { return poster_; }

    // Delivers the posted messages first.
    std::vector<TNotification> Notifications();
    bool WaitForNotifications(size_t count);
    std::vector<std::string> Lookups() const;
    bool EveryLookupHeldTheLock() const { return everyLookupLocked_; }

private:
    mutable std::mutex mutex_;
    std::vector<std::pair<std::string, engine::TShareId>> shares_;
    std::vector<std::string> lookups_;
    std::atomic<bool> everyLookupLocked_{true};
    std::vector<TNotification> notifications_;  // test thread only
    platform::MessageTarget window_;
    platform::TWindowPoster poster_{window_.Handle(), engine::kWmCaptureNotify};
};

class HttpServerFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A server (idx 1) serving Root() on a fresh port, activated.
    std::unique_ptr<engine::TCaptureHttpServer> StartServer(engine::THttpConnectionLimits limits = {});
    std::unique_ptr<engine::TCaptureHttpServer> MakeServer(int idx, engine::THttpConnectionLimits limits = {});

    std::filesystem::path Root() const { return dir_.path() / "htdocs"; }
    std::vector<std::string> LogLines() const;
    bool LogContains(const std::string& part) const;

    TempDir dir_;
    std::shared_ptr<TFakeHttpHost> host_;
    int port_ = 0;

private:
    mutable std::mutex logMutex_;
    std::vector<std::string> log_;
};

}  // namespace fw_test
