// Activation and deactivation, and clients that misbehave: malformed or oversized requests, stalls,
// disconnects in the middle of a transfer. None may crash the server or leave threads behind.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <functional>
#include <thread>

#include "tests/engine/http/http_server_fixture.h"

namespace fw_test {
namespace {

using namespace std::chrono_literals;

bool ServerClosesWithin(int fd, std::chrono::milliseconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    char buffer[4096];
    while (std::chrono::steady_clock::now() < end) {
        timeval tv{0, 100'000};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) return true;
    }
    return false;
}

using HttpServerLifecycleTest = HttpServerFixture;

TEST_F(HttpServerLifecycleTest, ActivationStates) {
    auto server = MakeServer(3);
    EXPECT_EQ(server->Name(), "Web-Server_3");
    EXPECT_EQ(server->DefaultRoot(), (dir_.path() / "html" / "WebServer_3").string() + "/");
    EXPECT_TRUE(std::filesystem::is_directory(server->DefaultRoot()));

    server->Root = "";
    EXPECT_FALSE(server->Activate());
    EXPECT_TRUE(LogContains("HTTP Server root directory failed"));
    EXPECT_FALSE(server->Listening());

    server->Root = Root().string() + "/";
    port_ = FreeTcpPort();
    server->SetPort(port_);
    EXPECT_FALSE(server->Deactivate());  // not listening
    ASSERT_TRUE(server->Activate());
    EXPECT_TRUE(server->Listening());
    EXPECT_FALSE(server->ListenError());
    EXPECT_TRUE(server->Activate());  // already active
    EXPECT_TRUE(LogContains("HTTP Server Listening on 127.0.0.1:" + std::to_string(port_) + "."));

    // A second server on the same address and port does not share it.
    auto second = MakeServer(4);
    second->SetPort(port_);
    EXPECT_FALSE(second->Activate());
    EXPECT_FALSE(second->Listening());
    EXPECT_TRUE(second->ListenError());
    EXPECT_TRUE(LogContains("HTTP Server Exception bind in Activate. Error is:\"Address already in use\"."));

    // Changing the port frees the old one at once; the next Activate binds anew.
    int newPort = FreeTcpPort();
    server->SetPort(newPort);
    EXPECT_EQ(ConnectLoopback(port_), -1);
    ASSERT_TRUE(second->Activate());  // the old port is free again
    ASSERT_TRUE(server->Activate());
    WriteFile(Root() / "index.html", "x");
    EXPECT_EQ(Request(newPort, "GET", "/").Status, 200);

    EXPECT_TRUE(second->Deactivate());
    EXPECT_TRUE(LogContains("HTTP Server Stop listening."));
    EXPECT_FALSE(second->Listening());
}

// A new address or port stops a listening server at once and quietly; Listening and ListenError keep
// what the last Activate left, so the owner that starts its servers again finds them as before, and
// that Activate binds the new address and port.
TEST_F(HttpServerLifecycleTest, ANewBindingStopsTheServerButLeavesItsListeningState) {
    const int oldPort = FreeTcpPort();
    const int newPort = FreeTcpPort();
    const struct {
        const char* setter;
        std::function<void(engine::TCaptureHttpServer&)> change;
        uint32_t address;  // the binding afterwards
        int port;
        const char* listeningLine;
    } cases[] = {
        {"SetPort", [&](auto& s) { s.SetPort(newPort); }, 0x7F000001, newPort, "127.0.0.1"},
        {"SetIpAddr", [&](auto& s) { s.SetIpAddr(0x7F000002); }, 0x7F000002, oldPort, "127.0.0.2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setter);
        auto server = MakeServer(1);
        server->SetPort(oldPort);
        ASSERT_TRUE(server->Activate());
        const size_t linesBefore = LogLines().size();

        c.change(*server);
        EXPECT_TRUE(server->Listening());
        EXPECT_FALSE(server->ListenError());
        EXPECT_EQ(ConnectLoopback(oldPort), -1);
        EXPECT_EQ(LogLines().size(), linesBefore);  // no "Stop listening."

        ASSERT_TRUE(server->Activate());
        EXPECT_TRUE(server->Listening());
        EXPECT_TRUE(LogContains("HTTP Server Listening on " + std::string(c.listeningLine) + ":" + std::to_string(c.port) + "."));
        const int fd = ConnectLoopback(c.port, c.address);
        EXPECT_GE(fd, 0);
        if (fd >= 0) ::close(fd);

        // A setter on a server that does not listen changes nothing else either.
        EXPECT_TRUE(server->Deactivate());
        c.change(*server);
        EXPECT_FALSE(server->Listening());
        EXPECT_FALSE(server->ListenError());
    }
}

TEST_F(HttpServerLifecycleTest, AddressThatIsNotLocalFails) {
    auto server = MakeServer(1);
    server->SetIpAddr(0x0AFFFF01);  // 10.255.255.1
    server->SetPort(FreeTcpPort());
    EXPECT_FALSE(server->Activate());
    EXPECT_TRUE(server->ListenError());
    EXPECT_TRUE(LogContains("in Activate. Error is:"));
}

TEST_F(HttpServerLifecycleTest, ExternalServerOnlyKeepsItsFolder) {
    auto server = MakeServer(1);
    server->ExtHttpServer = true;
    server->Root = (dir_.path() / "ext" / "root").string() + "/";
    port_ = FreeTcpPort();
    server->SetPort(port_);
    EXPECT_TRUE(server->Activate());
    EXPECT_TRUE(std::filesystem::is_directory(dir_.path() / "ext" / "root"));
    EXPECT_EQ(ConnectLoopback(port_), -1);
    EXPECT_FALSE(server->Listening());
    EXPECT_TRUE(server->Deactivate());
}

TEST_F(HttpServerLifecycleTest, IndexHtmlCopiedIntoTheDefaultRoot) {
    WriteFile(dir_.path() / "template.html", "template");
    WriteFile(dir_.path() / "mine.html", "mine");
    const std::string htmlDir = (dir_.path() / "html").string() + "/";
    engine::TCaptureHttpServer server(2, (dir_.path() / "template.html").string(), host_);
    ASSERT_TRUE(server.SetIndexHtml((dir_.path() / "mine.html").string()));
    EXPECT_EQ(server.IndexHtml(), htmlDir + "WebServer_2/index.html");
    EXPECT_EQ(ReadFile(server.IndexHtml()), "mine");
    ASSERT_TRUE(server.SetIndexHtml((dir_.path() / "gone.html").string()));  // falls back to the template
    EXPECT_EQ(ReadFile(server.IndexHtml()), "template");

    engine::TCaptureHttpServer unnumbered(0, (dir_.path() / "template.html").string(), host_);
    EXPECT_EQ(unnumbered.Name(), "Web-Server");
    EXPECT_FALSE(unnumbered.SetIndexHtml(""));  // no default root: nothing lands in the current folder
}

TEST_F(HttpServerLifecycleTest, BadRequestsGetA4xxOrAClosedConnection) {
    WriteFile(Root() / "index.html", "top");
    auto server = StartServer();
    struct Case {
        std::string raw;
        int status;  // 0: any 4xx or a closed connection
    } cases[] = {
        {"GARBAGE\r\n\r\n", 400},
        {"GET /index.html HTTP/9.9\r\n\r\n", 400},
        {"GET /index.html HTTP/1.1\r\nHost: x\r\nBad Header Line\r\n\r\n", 400},
        {"GET /" + std::string(20000, 'a') + " HTTP/1.1\r\nHost: x\r\n\r\n", 0},
        {"GET / HTTP/1.1\r\nHost: x\r\nX-Big: " + std::string(20000, 'b') + "\r\n\r\n", 0},
        {"POST / HTTP/1.1\r\nHost: x\r\nContent-Length: 99999999\r\n\r\n", 413},
        {"PUT /index.html HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\nConnection: close\r\n\r\n", 501},
        {"DELETE /index.html HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n", 501},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raw.substr(0, 40));
        auto answer = SendRawRequest(port_, c.raw);
        if (c.status) {
            EXPECT_EQ(answer.Status, c.status);
        } else {
            EXPECT_TRUE(!answer.Received || (answer.Status >= 400 && answer.Status < 500)) << answer.Status;
        }
    }
    EXPECT_TRUE(std::filesystem::exists(Root() / "index.html"));
    EXPECT_EQ(Request(port_, "GET", "/").Status, 200);  // still serving
}

TEST_F(HttpServerLifecycleTest, StalledClientsTimeOut) {
    engine::THttpConnectionLimits limits;
    limits.RequestReadTimeout = 300ms;
    limits.SendStallTimeout = 300ms;
    WriteFile(Root() / "big.ts", std::string(32 * 1024 * 1024, 'x'));
    auto server = StartServer(limits);

    int halfRequest = ConnectLoopback(port_);
    ASSERT_GE(halfRequest, 0);
    ::send(halfRequest, "GET /big.ts HTTP/1.1\r\nHo", 24, MSG_NOSIGNAL);
    int idle = ConnectLoopback(port_);
    ASSERT_GE(idle, 0);
    int nonReader = ConnectLoopback(port_);  // asks for a large file and never reads it
    int small = 1024;
    ::setsockopt(nonReader, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    std::string get = "GET /big.ts HTTP/1.1\r\nHost: x\r\n\r\n";
    ::send(nonReader, get.data(), get.size(), MSG_NOSIGNAL);

    EXPECT_TRUE(ServerClosesWithin(halfRequest, 5s));
    EXPECT_TRUE(ServerClosesWithin(idle, 5s));
    std::this_thread::sleep_for(200ms);
    // The stalled transfer ends on its own: its thread goes back to the idle pool.
    EXPECT_TRUE(WaitUntil([&] { return LogContains("general error - serve file"); }, 10s));
    ::close(halfRequest);
    ::close(idle);
    ::close(nonReader);
}

TEST_F(HttpServerLifecycleTest, DisconnectsMidTransferAndThreadsAreBounded) {
    // The program does not ignore SIGPIPE: sending to a client that went away must not raise it.
    struct TDefaultSigpipe {
        TDefaultSigpipe() : previous(::signal(SIGPIPE, SIG_DFL)) {}
        ~TDefaultSigpipe() { ::signal(SIGPIPE, previous); }
        sighandler_t previous;
    } defaultSigpipe;
    WriteFile(Root() / "big.ts", std::string(16 * 1024 * 1024, 'x'));
    auto server = StartServer();
    for (int i = 0; i < 5; ++i) {
        int fd = ConnectLoopback(port_);
        std::string get = "GET /big.ts HTTP/1.1\r\nHost: x\r\n\r\n";
        ::send(fd, get.data(), get.size(), MSG_NOSIGNAL);
        char buffer[1024];
        ::recv(fd, buffer, sizeof buffer, 0);
        ::close(fd);  // gone in the middle of the body
    }
    EXPECT_TRUE(WaitUntil([&] { return LogContains("general error - serve file"); }, 10s));

    // 70 connections open at once each get a thread; once they close at most 50 stay idle.
    std::vector<int> open;
    for (int i = 0; i < 70; ++i) open.push_back(ConnectLoopback(port_));
    EXPECT_TRUE(WaitUntil([&] { return server->ConnectionThreadCount() >= 70; }, 10s));
    for (int fd : open) ::close(fd);
    EXPECT_TRUE(WaitUntil([&] { return server->ConnectionThreadCount() <= engine::TConnectionThreadPool::kMaxIdleThreads; }, 10s));
    WriteFile(Root() / "index.html", "top");
    EXPECT_EQ(Request(port_, "GET", "/").Status, 200);
}

TEST_F(HttpServerLifecycleTest, ClientsThatLeaveBeforeReadingRaiseNoSigpipe) {
    // As in a host that does not ignore SIGPIPE: the kernel sends a file in pieces, and a peer that
    // goes between two of them leaves SIGPIPE pending behind a short count, not an EPIPE.
    struct TDefaultSigpipe {
        TDefaultSigpipe() : previous(::signal(SIGPIPE, SIG_DFL)) {}
        ~TDefaultSigpipe() { ::signal(SIGPIPE, previous); }
        sighandler_t previous;
    } defaultSigpipe;
    const struct {
        const char* Name;
        size_t Bytes;
    } files[] = {{"just_over_one_write.bin", 64 * 1024 + 1}, {"some_pieces.bin", 300'000}, {"many_pieces.bin", 8 << 20}};
    for (const auto& file : files) WriteFile(Root() / file.Name, std::string(file.Bytes, 'x'));
    auto server = StartServer();
    for (const auto& file : files) {
        SCOPED_TRACE(file.Name);
        for (int i = 0; i < 10; ++i) {
            int fd = ConnectLoopback(port_);
            std::string get = std::string("GET /") + file.Name + " HTTP/1.1\r\nHost: x\r\n\r\n";
            ::send(fd, get.data(), get.size(), MSG_NOSIGNAL);
            ::close(fd);  // gone before the first byte of the reply
        }
        // Every transfer ended and was logged.
        const std::string served = "Serving file " + (Root() / file.Name).string() + " (";
        EXPECT_TRUE(WaitUntil(
            [&] {
                const auto lines = LogLines();
                return std::count_if(lines.begin(), lines.end(),
                                     [&](const std::string& line) { return line.find(served) != std::string::npos; }) == 10;
            },
            10s));
    }
    WriteFile(Root() / "index.html", "top");
    EXPECT_EQ(Request(port_, "GET", "/").Status, 200);  // this process is still here, and so is the server
}

TEST_F(HttpServerLifecycleTest, DeactivateEndsOpenConnectionsPromptly) {
    WriteFile(Root() / "big.ts", std::string(32 * 1024 * 1024, 'x'));
    auto server = StartServer();
    int reading = ConnectLoopback(port_);
    std::string get = "GET /big.ts HTTP/1.1\r\nHost: x\r\n\r\n";
    ::send(reading, get.data(), get.size(), MSG_NOSIGNAL);
    int idle = ConnectLoopback(port_);
    ASSERT_TRUE(WaitUntil([&] { return server->ConnectionThreadCount() >= 2; }, 5s));
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(server->Deactivate());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_EQ(server->ConnectionThreadCount(), 0u);
    EXPECT_TRUE(ServerClosesWithin(idle, 2s));
    ::close(reading);
    ::close(idle);
}

}  // namespace
}  // namespace fw_test
