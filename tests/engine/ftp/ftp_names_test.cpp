#include "engine/ftp/ftp_names.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

TEST(FtpNames, ServerAddressDropsSchemeAndPathAndRefusesUnsafeHosts) {
    const struct {
        const char* host;
        const char* server;
    } cases[] = {
        {"http://www.example.org", "www.example.org"},
        {"ftp://ftp.example.org:2121/pub/", "ftp.example.org:2121"},
        {"  example.org  ", "example.org"},
        {"127.0.0.1:2121", "127.0.0.1:2121"},
        {"", ""},
        {"http://", ""},
        {"user:pw@example.org", ""},
        {"exa mple.org", ""},
        {"example.org\r\nDELE x", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FtpServerAddress(c.host), c.server) << c.host;
}

TEST(FtpNames, HostDirIsLowerCaseWithForwardSlashesAndOneTrailingSlash) {
    const struct {
        const char* hostDir;
        const char* normalized;
        const char* absolute;
    } cases[] = {
        {"Live\\Cam1", "live/cam1/", "/live/cam1"},
        {"\\Live\\\\Cam1\\", "live/cam1/", "/live/cam1"},
        {"live/", "live/", "/live"},
        {"/live", "live/", "/live"},
        {"", "", "/"},
        {"/", "", "/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NormalizeMirrorHostDir(c.hostDir), c.normalized) << c.hostDir;
        EXPECT_EQ(AbsoluteHostDir(NormalizeMirrorHostDir(c.hostDir)), c.absolute) << c.hostDir;
        EXPECT_TRUE(IsSafeHostDir(NormalizeMirrorHostDir(c.hostDir))) << c.hostDir;
    }
    EXPECT_FALSE(IsSafeHostDir(NormalizeMirrorHostDir("live/..")));
    EXPECT_FALSE(IsSafeHostDir(NormalizeMirrorHostDir("live\nMKD x/")));
}

TEST(FtpNames, OnlyPlainNamesWithoutControlCharactersAreSafe) {
    for (const char* name : {"stream_1_00000001.ts", "index.html", "a b.png", ".hidden"}) {
        EXPECT_TRUE(IsSafeFtpName(name)) << name;
    }
    for (const char* name : {"", ".", "..", "a/b.ts", "a\rb.ts", "a\nb", "tab\t.ts", "del\x7f"}) {
        EXPECT_FALSE(IsSafeFtpName(name)) << name;
    }
}

}  // namespace
}  // namespace engine
