// Mapping request paths below a root, and the small text helpers of request handling.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "engine/http/basic_credentials.h"
#include "engine/http/form_params.h"
#include "engine/http/http_request_handler.h"
#include "engine/http/log_text.h"
#include "engine/http/mime_type_table.h"
#include "engine/http/request_path_mapper.h"
#include "tests/support/test_env.h"

namespace fs = std::filesystem;
using engine::TPathVerdict;

namespace {

// root/ with index.html, a.png, sub/index.html, empty/, inner -> a.png, out -> ../outside,
// outfile -> ../outside/secret.txt, sublink -> sub, sub/up -> ../../outside; outside/secret.txt beside
// root; rootsibling/x.txt beside root.
class MappingFixture : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = dir_.path();
        root_ = base_ / "root";
        fs::create_directories(root_ / "sub");
        fs::create_directories(root_ / "empty");
        fs::create_directories(base_ / "outside");
        fs::create_directories(base_ / "rootsibling");
        fw_test::WriteFile(root_ / "index.html", "top");
        fw_test::WriteFile(root_ / "a.png", "png");
        fw_test::WriteFile(root_ / "sub" / "index.html", "sub");
        fw_test::WriteFile(base_ / "outside" / "secret.txt", "secret");
        fw_test::WriteFile(base_ / "rootsibling" / "x.txt", "x");
        fs::create_symlink(root_ / "a.png", root_ / "inner");
        fs::create_symlink(base_ / "outside", root_ / "out");
        fs::create_symlink(base_ / "outside" / "secret.txt", root_ / "outfile");
        fs::create_directories(root_ / "linkedindex");
        fs::create_symlink(base_ / "outside" / "secret.txt", root_ / "linkedindex" / "index.html");
        fs::create_symlink(root_ / "sub", root_ / "sublink");          // a folder link that stays inside
        fs::create_symlink(base_ / "outside", root_ / "sub" / "up");  // one that leaves from deeper down
        canonicalRoot_ = fs::canonical(root_);
    }

    engine::TMappedPath Map(const std::string& raw) { return engine::MapRequestPath(canonicalRoot_, raw); }

    fw_test::TempDir dir_;
    fs::path base_, root_, canonicalRoot_;
};

TEST_F(MappingFixture, FilesFoldersAndMissingEntries) {
    struct Case {
        const char* raw;
        TPathVerdict verdict;
        const char* file;  // relative to root when found
    } cases[] = {
        {"/", TPathVerdict::Found, "index.html"},
        {"/a.png", TPathVerdict::Found, "a.png"},
        {"/sub", TPathVerdict::Found, "sub/index.html"},
        {"/sub/", TPathVerdict::Found, "sub/index.html"},
        {"/inner", TPathVerdict::Found, "a.png"},  // a link that stays inside
        {"/sublink/index.html", TPathVerdict::Found, "sub/index.html"},
        {"/sublink/", TPathVerdict::Found, "sub/index.html"},
        {"/sublink/missing", TPathVerdict::NotFound, nullptr},
        {"/%61.png", TPathVerdict::Found, "a.png"},
        {"/empty/", TPathVerdict::NotFound, nullptr},  // folder without index.html
        {"/missing.png", TPathVerdict::NotFound, nullptr},
        {"/a.png/below", TPathVerdict::NotFound, nullptr},
        {"/A.PNG", TPathVerdict::NotFound, nullptr},  // names keep their case
        {"/bad%zz", TPathVerdict::BadRequest, nullptr},
        {"/bad%4", TPathVerdict::BadRequest, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raw);
        auto mapped = Map(c.raw);
        EXPECT_EQ(mapped.Verdict, c.verdict);
        if (c.file) {
            EXPECT_EQ(mapped.Path, canonicalRoot_ / c.file);
        }
    }
}

TEST_F(MappingFixture, EveryEscapeIsForbiddenWhetherOrNotTheTargetExists) {
    const char* cases[] = {
        "/../outside/secret.txt", "/../outside/none.txt",  // existing and missing give the same answer
        "/%2e%2e/outside/secret.txt", "/%2E%2E/outside/none.txt",
        "/sub/%2e%2e/%2e%2e/outside/secret.txt",
        "/..%2foutside%2fsecret.txt", "/sub%2F..%2F..%2Foutside",
        "/..\\outside\\secret.txt", "/sub%5c..%5c..%5coutside",
        "//etc/passwd", "/sub//index.html",
        "etc/passwd", "http://127.0.0.1/index.html", "*",
        "/out/secret.txt", "/out/none.txt", "/outfile", "/out",
        "/sub/up/secret.txt", "/sub/up/none.txt", "/sub/up", "/sublink/up/secret.txt",
        "/linkedindex/",  // a folder whose index.html leads outside
        "/a.png%00.html", "/./a.png", "/sub/./index.html",
        "/../rootsibling/x.txt", "/../root/a.png",
    };
    for (const char* raw : cases) {
        SCOPED_TRACE(raw);
        EXPECT_EQ(Map(raw).Verdict, TPathVerdict::Forbidden);
    }
}

TEST(RootContainment, ComparesWholeComponentsWithCase) {
    EXPECT_TRUE(engine::IsWithinRoot("/srv/web", "/srv/web"));
    EXPECT_TRUE(engine::IsWithinRoot("/srv/web", "/srv/web/a/b.png"));
    EXPECT_TRUE(engine::IsWithinRoot("/srv/web/", "/srv/web/a.png"));
    EXPECT_FALSE(engine::IsWithinRoot("/srv/web", "/srv/webfoo/a.png"));  // a sibling sharing the prefix
    EXPECT_FALSE(engine::IsWithinRoot("/srv/web", "/srv/Web/a.png"));
    EXPECT_FALSE(engine::IsWithinRoot("/srv/web", "/srv"));
}

TEST(MimeTypes, OwnListBeforeTheSystemTable) {
    fw_test::TempDir dir;
    fw_test::WriteFile(dir / "mime.types", "# comment\ntext/vnd.trolltech.linguist ts\nimage/x-test tst TS2\n");
    engine::TMimeTypeTable table(dir / "mime.types");
    struct Case {
        const char* file;
        const char* type;
    } cases[] = {
        {"/x/stream_1.m3u8", "application/vnd.apple.mpegurl"},
        {"seg_0001.ts", "video/mp2t"},
        {"a.TS", "video/mp2t"},
        {"a.jpg", "image/jpeg"},
        {"a.png", "image/png"},
        {"index.html", "text/html"},
        {"pcm-player.min.js", "text/javascript"},
        {"x.tst", "image/x-test"},
        {"x.ts2", "image/x-test"},
        {"x.unknownext", "application/octet-stream"},
        {"noextension", "application/octet-stream"},
        {"dot.", "application/octet-stream"},
    };
    for (const auto& c : cases) EXPECT_EQ(table.GetMimeType(c.file), c.type) << c.file;
    EXPECT_EQ(engine::TMimeTypeTable(dir / "missing.types").GetMimeType("a.ts"), "video/mp2t");
}

TEST(BasicCredentials, ParsesOnlyWellFormedHeaders) {
    auto parsed = engine::ParseBasicAuthorization("Basic dXNlcjpwYTpzcw==");  // user:pa:ss
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->User, "user");
    EXPECT_EQ(parsed->Password, "pa:ss");
    EXPECT_TRUE(engine::ParseBasicAuthorization("basic  dTpw "));  // u:p
    const char* refused[] = {"", "Basic", "Basic ", "Bearer dXNlcjpw", "Basic dXNlcjpw*", "Basic dXNl",
                             "Basic dXNlcg==", /* no colon */ "Basic =dXNlcjpw", "Basic dXNlcjpw===="};
    for (const char* header : refused) EXPECT_FALSE(engine::ParseBasicAuthorization(header)) << header;
}

TEST(BasicCredentials, MatchNeedsAUserAndExactCase) {
    using engine::TBasicCredentials;
    EXPECT_TRUE(engine::CredentialsMatch(TBasicCredentials{"admin", "Secret"}, "admin", "Secret"));
    EXPECT_FALSE(engine::CredentialsMatch(TBasicCredentials{"admin", "secret"}, "admin", "Secret"));
    EXPECT_FALSE(engine::CredentialsMatch(TBasicCredentials{"Admin", "Secret"}, "admin", "Secret"));
    EXPECT_FALSE(engine::CredentialsMatch(TBasicCredentials{"admin", "Secret1"}, "admin", "Secret"));
    EXPECT_FALSE(engine::CredentialsMatch(TBasicCredentials{"", ""}, "", ""));  // empty user never passes
    EXPECT_FALSE(engine::CredentialsMatch(std::nullopt, "admin", "Secret"));
    EXPECT_TRUE(engine::ConstantTimeEquals("", ""));
    EXPECT_FALSE(engine::ConstantTimeEquals("abc", "abcd"));
}

TEST(RequestText, LogEscapesFormFieldsAndSnapshotPrefix) {
    EXPECT_EQ(engine::EscapeForLog("a\r\nb\tc\\d\x7f"), "a\\r\\nb\\x09c\\d\\x7F");

    engine::TFormParams params;
    engine::AppendFormParams("action=Close&name=a+b%21&flag&&broken=%zz", params);
    ASSERT_EQ(params.size(), 4u);
    EXPECT_EQ(params[1], (std::pair<std::string, std::string>{"name", "a b!"}));
    EXPECT_EQ(params[2], (std::pair<std::string, std::string>{"flag", ""}));
    EXPECT_EQ(params[3].second, "%zz");
    EXPECT_EQ(engine::FormParamValue(params, "action"), "Close");
    EXPECT_EQ(engine::FormParamValue(params, "none"), "");

    using engine::THttpRequestHandler;
    EXPECT_EQ(THttpRequestHandler::SnapshotPathPrefix("/share/capimg_2130706433_8080.png"), "/share/");
    EXPECT_EQ(THttpRequestHandler::SnapshotPathPrefix("/a/capimg_1/capimg_2.png"), "/a/");
    EXPECT_EQ(THttpRequestHandler::SnapshotPathPrefix("/share/CAPIMG_1.png"), "");
    EXPECT_EQ(THttpRequestHandler::SnapshotPathPrefix("/share/index.html"), "");
}

}  // namespace
