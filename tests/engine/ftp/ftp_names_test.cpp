#include "engine/util/ftp_names.h"

#include "engine/ftp/ftp_share_names.h"

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

// Exactly the names the share writes, as they go up, and their temporary upload names: nothing in
// another letter case, no other share's stream and no other image.
TEST(FtpNames, AShareProducesItsPlaylistSegmentsAndImagesOnly) {
    const FtpShareNames names("stream_1", "capimg_2130706433_8080");
    for (const char* name : {"stream_1.m3u8", "stream_1_00000001.ts", "stream_1_123456789.ts", "capimg_2130706433_8080.png",
                             "capimg_2130706433_8080.jpg", "capimg_2130706433_8080.svg", "stream_1_00000002.ts.part",
                             "stream_1.m3u8.part", "capimg_2130706433_8080.png.part"}) {
        EXPECT_TRUE(names.Produces(name)) << name;
    }
    for (const char* name : {"STREAM_1_00000001.TS", "Stream_1.m3u8", "capimg_2130706433_8080.PNG.PART", "stream_12.m3u8",
                             "stream_12_00000001.ts", "stream_1_.ts", "stream_1_0000000a.ts", "stream_1_00000001.ts.bak",
                             "capimg_2130706433_8080.bmp", "capimg_2130706433_80800.png", "capimg_2130706433_8080",
                             "index.html", ".part", "stream_1_00000001.ts.part.part"}) {
        EXPECT_FALSE(names.Produces(name)) << name;
    }
    const FtpShareNames noImage("stream_1", "");
    EXPECT_FALSE(noImage.Produces(".png"));
    EXPECT_TRUE(noImage.Produces("stream_1_00000001.ts"));
}

}  // namespace
}  // namespace engine
