// The lookups the dialogs use over the three lists.
#include <gtest/gtest.h>

#include "app/lists/capture_list_file.h"
#include "engine/settings/counters.h"
#include "tests/app/lists/list_file_fixture.h"

namespace {

using fw_test::ListFileTest;
using ListLookupsTest = ListFileTest;

std::shared_ptr<app::TWebSocketEntry> Socket(int32_t idx, int32_t addr, int32_t port) {
    auto entry = std::make_shared<app::TWebSocketEntry>();
    entry->Idx = idx;
    entry->Addr = addr;
    entry->Port = port;
    return entry;
}

TEST_F(ListLookupsTest, WebSocketsAreFoundByIdxAndTheirAddressesKeptApart) {
    sockets_.Append(Socket(3, 2130706433, 8080));
    sockets_.Append(Socket(4, 2130706433, 8081));
    EXPECT_EQ(sockets_.Find(4), sockets_.Items()[1]);
    EXPECT_EQ(sockets_.Find(9), nullptr);
    EXPECT_EQ(sockets_.Find(-1), nullptr);
    EXPECT_TRUE(sockets_.IsUnique(*sockets_.Items()[0]));
    EXPECT_FALSE(sockets_.IsUnique(*Socket(7, 2130706433, 8081)));  // a newcomer on a taken address
    EXPECT_FALSE(sockets_.IsAddrFree(2130706433, 8080));
    EXPECT_TRUE(sockets_.IsAddrFree(0, 8080));

    const auto added = app::InitWebSocketEntry(sockets_, host_->CreateWebSocketGraph());
    EXPECT_EQ(added->Name, "Web-Socket_2");
    EXPECT_EQ(added->Addr, 2130706433);
    EXPECT_EQ(added->Port, 8080);
    EXPECT_FALSE(added->Active);
    EXPECT_TRUE(added->Graph);
    EXPECT_EQ(engine::NextWebSocketIndex(), added->Idx + 1);
}

TEST_F(ListLookupsTest, ADeletedWebSocketIsNoLongerLinked) {
    sockets_.Append(Socket(3, 2130706433, 8080));
    auto capture = app::NewCaptureEntry(*host_);
    capture->WebSocket = sockets_.Items()[0];
    sockets_.Remove(sockets_.Items()[0].get());
    EXPECT_EQ(capture->WebSocket.lock(), nullptr);
}

TEST_F(ListLookupsTest, WebServersAndShareFoldersInUse) {
    auto makeServer = [&](int idx, int port, const std::string& root) {
        auto server = host_->CreateHttpServer(idx);
        server->SetPort(port);
        server->Root = root;
        servers_.Append(std::make_shared<app::THttpServerEntry>(std::move(server)));
        return servers_.Items().back();
    };
    const auto a = makeServer(1, 8080, PathOf("www"));
    const auto b = makeServer(2, 8081, PathOf("www"));  // the same folder served twice
    const auto c = makeServer(3, 8082, PathOf("other"));
    EXPECT_FALSE(servers_.IsWebServerUnique("127.0.0.1", 8081));
    EXPECT_TRUE(servers_.IsWebServerUnique("127.0.0.2", 8081));
    EXPECT_EQ(servers_.Find(2130706433, 8082), c);
    EXPECT_EQ(servers_.First(), a);

    auto capture = app::NewCaptureEntry(*host_);
    engine::PCaptureStreamer share = capture->Capture->Streamers->AddStreamer();
    share->HttpServer = a;
    share->SubDir = "desk";
    captures_.Append(std::move(capture));

    EXPECT_TRUE(captures_.IsWebServerInUse(*a));
    EXPECT_FALSE(captures_.IsWebServerInUse(*b));
    EXPECT_TRUE(captures_.IsShareFolderFree(share.get(), a.get(), "desk"));  // the share itself
    EXPECT_FALSE(captures_.IsShareFolderFree(nullptr, b.get(), "desk"));     // same root, same folder
    EXPECT_TRUE(captures_.IsShareFolderFree(nullptr, b.get(), "Desk"));      // compared exactly
    EXPECT_TRUE(captures_.IsShareFolderFree(nullptr, c.get(), "desk"));
    EXPECT_TRUE(captures_.IsShareFolderFree(nullptr, nullptr, "desk"));
}

}  // namespace
