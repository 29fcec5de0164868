// Request handling over real loopback HTTP: files, folders, HEAD, types, refusals, credentials,
// notifications, the session page and the log.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "engine/settings/program_state.h"
#include "tests/engine/http/http_server_fixture.h"

namespace fw_test {
namespace {

const char kAccessDenied[] =
    "<html><head><title>Error</title></head><body><h1>Access denied</h1>\r"
    "You do not have sufficient priviligies to access this document.</body></html>";

class CaptureHttpServerTest : public HttpServerFixture {
protected:
    void SetUp() override {
        HttpServerFixture::SetUp();
        WriteFile(Root() / "index.html", "<html>top</html>");
        std::filesystem::create_directories(Root() / "share");
        WriteFile(Root() / "share" / "index.html", "<html>share</html>");
        WriteFile(Root() / "share" / "capimg_2130706433_8080.png", "PNGDATA");
        WriteFile(Root() / "stream_1.m3u8", "#EXTM3U\n");
        WriteFile(Root() / "seg_1.ts", std::string(1000, 'G'));
        WriteFile(Root() / "a.jpg", "jpg");
        WriteFile(Root() / "player.js", "js");
        std::filesystem::create_directories(dir_.path() / "outside");
        WriteFile(dir_.path() / "outside" / "secret.txt", "secret");
        std::filesystem::create_symlink(dir_.path() / "outside", Root() / "escape");
        server_ = StartServer();
    }

    std::unique_ptr<engine::TCaptureHttpServer> server_;
};

TEST_F(CaptureHttpServerTest, ServesFilesAndFolderIndexes) {
    struct Case {
        const char* target;
        const char* body;
    } cases[] = {
        {"/", "<html>top</html>"},
        {"/share/", "<html>share</html>"},
        {"/share", "<html>share</html>"},
        {"/share/index.html?x=1", "<html>share</html>"},
    };
    for (const auto& c : cases) {
        auto answer = Request(port_, "GET", c.target);
        EXPECT_EQ(answer.Status, 200) << c.target;
        EXPECT_EQ(answer.Body, c.body) << c.target;
        EXPECT_EQ(answer.Header("content-type"), "text/html") << c.target;
    }
    auto missing = Request(port_, "GET", "/nothing.png");
    EXPECT_EQ(missing.Status, 404);
    EXPECT_EQ(missing.Body, "<html><head><title>Error</title></head><body><h1>Not Found</h1></body></html>");

    std::filesystem::remove(Root() / "index.html");
    EXPECT_EQ(Request(port_, "GET", "/").Status, 404);
}

TEST_F(CaptureHttpServerTest, GetAndHeadCarryTheFileType) {
    struct Case {
        const char* target;
        const char* type;
    } cases[] = {
        {"/stream_1.m3u8", "application/vnd.apple.mpegurl"},
        {"/seg_1.ts", "video/mp2t"},
        {"/a.jpg", "image/jpeg"},
        {"/share/capimg_2130706433_8080.png", "image/png"},
        {"/share/index.html", "text/html"},
        {"/player.js", "text/javascript"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.target);
        auto size = std::filesystem::file_size(Root() / std::string(c.target).substr(1));
        auto get = Request(port_, "GET", c.target);
        EXPECT_EQ(get.Status, 200);
        EXPECT_EQ(get.Header("content-type"), c.type);
        EXPECT_EQ(get.Body.size(), size);
        EXPECT_TRUE(get.Header("content-encoding").empty());
        auto head = Request(port_, "HEAD", c.target);
        EXPECT_EQ(head.Status, 200);
        EXPECT_EQ(head.Header("content-type"), c.type);
        EXPECT_EQ(head.Header("content-length"), std::to_string(size));
        EXPECT_TRUE(head.Body.empty());
    }
    // HEAD carries no body on the wire: a second request on the same connection reads cleanly.
    auto pair = SendRawRequest(port_,
                               "HEAD /seg_1.ts HTTP/1.1\r\nHost: x\r\n\r\n"
                               "GET /a.jpg HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n",
                               true);
    EXPECT_EQ(pair.Status, 200);
    EXPECT_EQ(pair.Header("content-length"), "1000");
}

TEST_F(CaptureHttpServerTest, EveryEscapeAnswers403WhetherOrNotTheFileExists) {
    const char* targets[] = {
        "/../outside/secret.txt", "/../outside/none.txt", "/%2e%2e/outside/secret.txt",
        "/share/%2E%2E/%2e%2e/outside/secret.txt", "/..%2foutside%2fsecret.txt", "/share%2Findex.html",
        "/..\\outside\\secret.txt", "//etc/passwd", "/share//index.html", "etc/passwd",
        "/escape/secret.txt", "/escape/none.txt", "/index.html%00.png", "/./index.html",
    };
    for (const char* target : targets) {
        SCOPED_TRACE(target);
        auto answer = Request(port_, "GET", target);
        EXPECT_EQ(answer.Status, 403);
        EXPECT_EQ(answer.Body, kAccessDenied);
        EXPECT_EQ(Request(port_, "HEAD", target).Status, 403);
    }
    EXPECT_TRUE(host_->Notifications().empty());  // nothing was sent
}

TEST_F(CaptureHttpServerTest, OnlyRegularFilesAreServed) {
    ASSERT_EQ(::mkfifo((Root() / "pipe.ts").c_str(), 0600), 0);
    EXPECT_EQ(Request(port_, "GET", "/pipe.ts").Status, 403);
    EXPECT_EQ(Request(port_, "HEAD", "/pipe.ts").Status, 403);
    std::filesystem::create_directories(Root() / "dirindex" / "index.html");
    EXPECT_EQ(Request(port_, "GET", "/dirindex/").Status, 403);
}

TEST_F(CaptureHttpServerTest, SnapshotRequestsNotifyTheirShareUnderTheLock) {
    host_->AddShare("share", 42);
    auto answer = Request(port_, "GET", "/share/capimg_2130706433_8080.png");
    EXPECT_EQ(answer.Body, "PNGDATA");
    ASSERT_TRUE(host_->WaitForNotifications(2));
    EXPECT_EQ(host_->Notifications(), (std::vector<TNotification>{{engine::kCnHttpRequest, 42},
                                                                   {engine::kCnHttpSend, 42}}));
    EXPECT_EQ(host_->Lookups(), std::vector<std::string>{"/share/"});
    EXPECT_TRUE(host_->EveryLookupHeldTheLock());

    // Not a snapshot: no lookup, no request light; the sent file still reports, without a share.
    Request(port_, "GET", "/share/index.html");
    ASSERT_TRUE(host_->WaitForNotifications(3));
    EXPECT_EQ(host_->Notifications().back(), (TNotification{engine::kCnHttpSend, 0}));
    EXPECT_EQ(host_->Lookups().size(), 1u);

    // A snapshot of no known share: looked up, nothing lit; a missing one sends nothing.
    Request(port_, "GET", "/other/capimg_1.png");
    EXPECT_EQ(host_->Lookups().size(), 2u);
    EXPECT_EQ(host_->Notifications().size(), 3u);
    EXPECT_TRUE(LogContains("Serving file " + (std::filesystem::canonical(Root()) / "share/index.html").string() +
                            " (18 bytes / 18 bytes sent) to 127.0.0.1:"));
    EXPECT_TRUE(LogContains("Command GET /share/index.html received from 127.0.0.1:"));
}

TEST_F(CaptureHttpServerTest, SessionPage) {
    const std::string noSession =
        "<html><head><title>Virtual folder</title></head><body><p color=#FF000>No session</p></body></html>";
    for (const char* target : {"/Session", "/sessions", "/session?action=other"}) {
        auto answer = Request(port_, "GET", target);
        EXPECT_EQ(answer.Status, 200) << target;
        EXPECT_EQ(answer.Header("content-type"), "text/HTML") << target;
        EXPECT_EQ(answer.Body, noSession) << target;
    }
    auto closed = Request(port_, "GET", "/session?action=CLOSE");
    EXPECT_EQ(closed.Body,
              "<html><head><title>Virtual folder</title></head><body><h1>Session cleared</h1>"
              "<p><a href=\"/sessions\">Back</a></p></body></html>");
}

TEST_F(CaptureHttpServerTest, PostLogsItsFieldsEscapedAndServesTheFile) {
    auto answer = Request(port_, "POST", "/index.html?q=1",
                          "Content-Type: application/x-www-form-urlencoded\r\n", "name=cam&evil=x%0D%0AFAKE");
    EXPECT_EQ(answer.Status, 200);
    EXPECT_EQ(answer.Body, "<html>top</html>");
    EXPECT_TRUE(LogContains("q=1"));
    EXPECT_TRUE(LogContains("name=cam"));
    EXPECT_TRUE(LogContains("evil=x\\r\\nFAKE"));
    for (const auto& line : LogLines()) {
        EXPECT_EQ(line.find('\r'), std::string::npos) << line;
        EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    }
    // A document with line breaks cannot forge a log line either.
    Request(port_, "GET", "/x%0D%0Aforged");
    EXPECT_TRUE(LogContains("Command GET /x\\r\\nforged received"));
}

TEST_F(CaptureHttpServerTest, AFileAWriterHoldsIsNotServedAReadOnlyFileIs) {
    const std::filesystem::path segment = Root() / "seg_1.ts";
    {
        // Another program still writing the segment: asked again later, never sent cut short.
        ChildProcess writer({"/bin/sh", "-c", "exec 3>>\"$0\"; printf G >&3; exec sleep 60", segment.string()});
        ASSERT_TRUE(WaitUntil([&] { return std::filesystem::file_size(segment) == 1001; }, std::chrono::seconds(10)));
        auto answer = Request(port_, "GET", "/seg_1.ts");
        EXPECT_EQ(answer.Status, 503);
        EXPECT_EQ(answer.Header("retry-after"), "1");
        EXPECT_EQ(Request(port_, "HEAD", "/seg_1.ts").Status, 200);
    }
    EXPECT_TRUE(host_->Notifications().empty());
    EXPECT_EQ(Request(port_, "GET", "/seg_1.ts").Body, std::string(1001, 'G'));

    ::chmod(segment.c_str(), 0444);  // nobody may write it: nobody is writing it
    auto readOnly = Request(port_, "GET", "/seg_1.ts");
    EXPECT_EQ(readOnly.Status, 200);
    EXPECT_EQ(readOnly.Body, std::string(1001, 'G'));
}

TEST_F(CaptureHttpServerTest, RequestsWhileClosingAreRefused) {
    engine::AppClosing = true;
    EXPECT_EQ(Request(port_, "GET", "/index.html").Status, 503);
    EXPECT_TRUE(host_->Notifications().empty());
}

class AuthenticatedServerTest : public HttpServerFixture {
protected:
    void SetUp() override {
        HttpServerFixture::SetUp();
        WriteFile(Root() / "index.html", "top");
        std::filesystem::create_directories(Root() / "share");
        WriteFile(Root() / "share" / "capimg_1_2.png", "png");
        host_->AddShare("share", 7);
        server_ = MakeServer(1);
        server_->Authentication = true;
        server_->User = "admin";
        server_->Password = "S3cret";
        port_ = FreeTcpPort();
        server_->SetPort(port_);
        ASSERT_TRUE(server_->Activate());
    }
    std::unique_ptr<engine::TCaptureHttpServer> server_;
};

TEST_F(AuthenticatedServerTest, RefusesWithoutTheRightCredentials) {
    struct Case {
        std::string headers;
        const char* target;
    } refused[] = {
        {"", "/index.html"},
        {BasicAuthLine("admin", "s3cret"), "/index.html"},
        {BasicAuthLine("Admin", "S3cret"), "/index.html"},
        {BasicAuthLine("", ""), "/index.html"},
        {"Authorization: Basic !!!!\r\n", "/index.html"},
        {"Authorization: Bearer abc\r\n", "/index.html"},
        {"", "/share/capimg_1_2.png"},
        {"", "/../index.html"},  // path tricks meet the credential check first
        {"", "/session"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.headers + c.target);
        auto answer = Request(port_, "POST", c.target, c.headers + "Content-Type: application/x-www-form-urlencoded\r\n",
                              "password=hunter2");
        EXPECT_EQ(answer.Status, 401);
        EXPECT_EQ(answer.Header("www-authenticate"), "Basic realm=\"Vexmira HTTP Server\"");
        EXPECT_EQ(answer.Body,
                  "<html><head><title>Error</title></head><body><h1>Authentication failed</h1></body></html>");
    }
    EXPECT_TRUE(host_->Notifications().empty());
    EXPECT_TRUE(host_->Lookups().empty());
    EXPECT_FALSE(LogContains("hunter2"));
    EXPECT_FALSE(LogContains("Command"));
    EXPECT_TRUE(LogContains("Authentication failed for a request from 127.0.0.1:"));

    auto granted = Request(port_, "GET", "/index.html", BasicAuthLine("admin", "S3cret"));
    EXPECT_EQ(granted.Status, 200);
    EXPECT_EQ(granted.Body, "top");
    EXPECT_EQ(Request(port_, "GET", "/../index.html", BasicAuthLine("admin", "S3cret")).Status, 403);
}

}  // namespace
}  // namespace fw_test
