#include "engine/ftp/curl_ftp_session.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "tests/engine/ftp/ftp_test_server.h"
#include "tests/support/test_env.h"

namespace engine {
namespace {

using fw_test::FtpTestServer;
namespace fs = std::filesystem;

class CurlFtpSessionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server_.Start()); }

    CurlFtpSession MakeSession(const std::string& password = FtpTestServer::kPassword) {
        return CurlFtpSession(FtpLogin{"ftp://" + server_.host(), FtpTestServer::kUser, password});
    }

    FtpTestServer server_;
    fw_test::TempDir local_;
};

TEST_F(CurlFtpSessionTest, LogsInMovesBetweenFoldersAndMakesMissingOnes) {
    CurlFtpSession session = MakeSession();
    ASSERT_TRUE(session.Connect().ok());
    EXPECT_TRUE(session.IsConnected());
    std::string current;
    ASSERT_TRUE(session.CurrentDir(&current).ok());
    EXPECT_EQ(current, "/");

    const FtpResult missing = session.ChangeDir("/live/cam1");
    EXPECT_EQ(missing.status, FtpStatus::kRefused);
    EXPECT_TRUE(session.IsConnected());

    ASSERT_TRUE(session.MakeDirs("/live/cam1").ok());
    EXPECT_TRUE(fs::is_directory(server_.root() / "live" / "cam1"));
    ASSERT_TRUE(session.CurrentDir(&current).ok());
    EXPECT_EQ(current, "/live/cam1");

    ASSERT_TRUE(session.ChangeDir("/").ok());
    ASSERT_TRUE(session.ChangeDir("/live").ok());
    ASSERT_TRUE(session.CurrentDir(&current).ok());
    EXPECT_EQ(current, "/live");
    session.Disconnect();
    EXPECT_FALSE(session.IsConnected());
}

TEST_F(CurlFtpSessionTest, WrongPasswordIsRefusedAndLeavesTheSessionDisconnected) {
    CurlFtpSession session = MakeSession("wrong");
    const FtpResult result = session.Connect();
    EXPECT_EQ(result.status, FtpStatus::kRefused);
    EXPECT_FALSE(session.IsConnected());
    EXPECT_EQ(result.message.find("wrong"), std::string::npos);
    EXPECT_EQ(result.message.find(FtpTestServer::kUser), std::string::npos);
}

TEST_F(CurlFtpSessionTest, UploadsUnderTheFinalNameOnlyAndReplacesAnOlderFile) {
    fw_test::WriteFile(server_.root() / "seg.ts", "old");
    fw_test::WriteFile(local_ / "Seg.TS", std::string(200'000, 'x'));
    CurlFtpSession session = MakeSession();
    ASSERT_TRUE(session.Connect().ok());
    ASSERT_TRUE(session.ChangeDir("/").ok());
    int64_t begun = 0, done = 0;
    FtpTransferHandlers handlers{[&](int64_t total) { begun = total; }, [&](int64_t sent) { done = sent; }};
    ASSERT_TRUE(session.Upload(local_ / "Seg.TS", "seg.ts", handlers).ok());
    EXPECT_EQ(fw_test::ReadFile(server_.root() / "seg.ts"), std::string(200'000, 'x'));
    EXPECT_FALSE(fs::exists(server_.root() / "seg.ts.part"));
    EXPECT_EQ(begun, 200'000);
    EXPECT_EQ(done, 200'000);

    const FtpResult noLocal = session.Upload(local_ / "missing.ts", "missing.ts", {});
    EXPECT_EQ(noLocal.status, FtpStatus::kLocalFile);
    EXPECT_FALSE(fs::exists(server_.root() / "missing.ts"));
}

TEST_F(CurlFtpSessionTest, ListsPlainFilesOnlyAndDeletes) {
    fs::create_directories(server_.root() / "sub");
    fw_test::WriteFile(server_.root() / "a b.ts", "1");
    fw_test::WriteFile(server_.root() / "Index.HTML", "2");
    fs::create_symlink("a b.ts", server_.root() / "link.ts");
    CurlFtpSession session = MakeSession();
    ASSERT_TRUE(session.Connect().ok());
    ASSERT_TRUE(session.ChangeDir("/").ok());
    std::vector<FtpListedFile> files;
    ASSERT_TRUE(session.ListPlainFiles(&files).ok());
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    EXPECT_EQ(files, (std::vector<FtpListedFile>{{"Index.HTML", 1}, {"a b.ts", 1}}));

    ASSERT_TRUE(session.Delete("a b.ts").ok());
    EXPECT_FALSE(fs::exists(server_.root() / "a b.ts"));
    EXPECT_EQ(session.Delete("a b.ts").status, FtpStatus::kRefused);

    ASSERT_TRUE(session.ChangeDir("/sub").ok());
    ASSERT_TRUE(session.ListPlainFiles(&files).ok());
    EXPECT_TRUE(files.empty());
}

TEST_F(CurlFtpSessionTest, NamesWithControlCharactersNeverReachTheServer) {
    fw_test::WriteFile(local_ / "x.ts", "x");
    CurlFtpSession session = MakeSession();
    ASSERT_TRUE(session.Connect().ok());
    EXPECT_EQ(session.Upload(local_ / "x.ts", "x.ts\r\nDELE keep.ts", {}).status, FtpStatus::kRefused);
    EXPECT_EQ(session.Delete("keep.ts\r\nQUIT").status, FtpStatus::kRefused);
    EXPECT_EQ(session.MakeDirs("/a\nb").status, FtpStatus::kRefused);
    EXPECT_TRUE(fs::is_empty(server_.root()));
}

TEST(CurlFtpSessionDeadServer, RefusedConnectionIsANetworkFailure) {
    CurlFtpSession session(FtpLogin{"127.0.0.1:" + std::to_string(fw_test::FreeTcpPort()), "u", "p"});
    EXPECT_EQ(session.Connect().status, FtpStatus::kNetwork);
    EXPECT_FALSE(session.IsConnected());
    CurlFtpSession noHost(FtpLogin{"http://", "u", "p"});
    EXPECT_EQ(noHost.Connect().status, FtpStatus::kRefused);
}

// A server that accepts the connection and never says a word: the stop ends the wait at once.
TEST(CurlFtpSessionDeadServer, StopCutsShortAWaitForASilentServer) {
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);

    auto stop = std::make_shared<FtpCallStop>();
    CurlFtpSession session(FtpLogin{"127.0.0.1:" + std::to_string(ntohs(address.sin_port)), "u", "p"}, stop);
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        stop->Request();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(session.Connect().status, FtpStatus::kAborted);
    // Shutting the socket down wakes the wait: no second-long poll of the progress callback.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    stopper.join();
    EXPECT_EQ(session.Connect().status, FtpStatus::kAborted);  // no new connection while the stop holds
    stop->Clear();
    session.CapWaits(std::chrono::seconds(1));
    const auto capped = std::chrono::steady_clock::now();
    EXPECT_EQ(session.Connect().status, FtpStatus::kNetwork);  // the greeting never comes
    EXPECT_LT(std::chrono::steady_clock::now() - capped, std::chrono::seconds(3));
    ::close(listener);
}

// A server that stopped answering after the login: leaving it takes no wait for its goodbye.
TEST_F(CurlFtpSessionTest, DisconnectDoesNotWaitForAStoppedServer) {
    CurlFtpSession session = MakeSession();
    ASSERT_TRUE(session.Connect().ok());
    ASSERT_TRUE(session.ChangeDir("/").ok());
    ASSERT_EQ(::kill(server_.pid(), SIGSTOP), 0);
    const auto start = std::chrono::steady_clock::now();
    session.Disconnect();
    const auto took = std::chrono::steady_clock::now() - start;
    ::kill(server_.pid(), SIGCONT);
    EXPECT_FALSE(session.IsConnected());
    EXPECT_LT(took, std::chrono::milliseconds(500));
    ASSERT_TRUE(session.Connect().ok());  // the server took no harm
}

}  // namespace
}  // namespace engine
