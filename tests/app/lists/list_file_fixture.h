// The list files' test bench: a scratch data folder, the documents' pool, the three lists and a host
// that makes real engine objects (web servers that never listen, audio graphs that are never built).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/lists/capture_list.h"
#include "app/lists/http_server_list.h"
#include "app/lists/list_file_host.h"
#include "app/lists/web_socket_list.h"
#include "engine/util/xml_doc_pool.h"
#include "tests/support/test_env.h"

namespace fw_test {

class TFakeHttpServerHost final : public engine::IHttpServerHost {
public:
    engine::TShareId FindShareIdForPath(const std::string&) override { return 0; }
    platform::IMessagePoster& Notifier() override { return nowhere_; }

private:
    platform::TNoPoster nowhere_;
};

class TFakeListFileHost final : public app::IListFileHost {
public:
    TFakeListFileHost(std::string htmlDir, std::string defaultIndexFile)
        : htmlDir_(std::move(htmlDir)), defaultIndexFile_(std::move(defaultIndexFile)) {}

    std::shared_ptr<engine::TScreenCapture> CreateCapture(int32_t idx) override;
    std::unique_ptr<engine::TCaptureHttpServer> CreateHttpServer(int idx) override;
    std::unique_ptr<engine::TWebSocketFilterGraph> CreateWebSocketGraph() override;

    std::vector<int32_t> made;  // capture indexes of the jobs made, in order

private:
    std::string htmlDir_;
    std::string defaultIndexFile_;
    std::shared_ptr<TFakeHttpServerHost> httpHost_ = std::make_shared<TFakeHttpServerHost>();
};

class ListFileTest : public ::testing::Test {
protected:
    void SetUp() override;

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
    // The three lists read again from their files, in the order the main window reads them.
    void LoadAll();
    // Files beside path that were kept aside.
    std::vector<std::filesystem::path> KeptAside(const std::string& path) const;
    // The log lines queued since SetUp.
    std::vector<std::string> LogLines();

    TempDir dir_;
    engine::TXmlDocPool pool_{10};
    std::unique_ptr<TFakeListFileHost> host_;
    app::THttpServerList servers_;
    app::TWebSocketList sockets_;
    app::TCaptureList captures_;
};

}  // namespace fw_test
