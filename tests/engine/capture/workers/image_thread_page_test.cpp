// The share page and names both workers publish, and the folder claims that decide which ending
// snapshot thread may delete its folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/capture/workers/ShareFolderClaims.h"
#include "engine/capture/workers/SharePage.h"
#include "tests/engine/capture/workers/image_thread_test_helpers.h"

namespace {

using engine::TSharePageInfo;

TEST(SharePageTest, ImageNamesUseTheAbsoluteAddressAndThePort) {
    struct Case {
        int32_t ip;
        int32_t port;
        const char* name;
    };
    const Case cases[] = {
        {2130706433, 50100, "capimg_2130706433_50100"},   // 127.0.0.1
        {-1062731510, 50101, "capimg_1062731510_50101"},  // 192.168.1.10 is negative as an integer
        {INT32_MIN, 1, "capimg_2147483648_1"},
        {0, 0, "capimg_0_0"},
    };
    for (const Case& c : cases) EXPECT_EQ(engine::CaptureImageBaseName(c.ip, c.port), c.name);
}

TEST(SharePageTest, TheImageAddressFollowsTheMirrorOrTheSubFolder) {
    struct Case {
        bool ftp;
        const char* hostDir;
        const char* subDir;
        const char* folder;
    };
    const Case cases[] = {
        {true, "live/", "pc1", "/live/"},  // as Start leaves FtpHostDir
        {false, "live/", "pc1", "/pc1/"},
        {false, "", "/pc1/", "/pc1/"},
        {true, "", "pc1", "/"},
        {false, "", "", "/"},
        {true, "a/b", "pc1", "/a/b/"},
    };
    for (const Case& c : cases) {
        TSharePageInfo share;
        share.FtpActive = c.ftp;
        share.FtpHostDir = c.hostDir;
        share.SubDir = c.subDir;
        EXPECT_EQ(engine::ShareAddressFolder(share), c.folder) << c.hostDir << " " << c.subDir;
        EXPECT_EQ(engine::ShareImageAddress(share, "capimg_1_2.png"), std::string(c.folder) + "capimg_1_2.png");
    }
}

TEST(SharePageTest, PlaceholdersAreReplacedInAnyLetterCase) {
    const std::string page =
        "<img src=\"<imgsrc>\"><a href=\"<IMGSRC>\">x</a>\n"
        "<script src=\"pcm-player.min.js\"></script><script SRC=\"PCM-Player.min.js\"></script>";
    const std::string folder = "/live/";
    EXPECT_EQ(engine::FillSharePage(page, "/live/capimg_1_2.png", &folder),
              "<img src=\"/live/capimg_1_2.png\"><a href=\"/live/capimg_1_2.png\">x</a>\n"
              "<script src=\"/live/pcm-player.min.js\"></script><script src=\"/live/pcm-player.min.js\"></script>");
    // Without a script folder (the file-drop page) the script stays as it is.
    EXPECT_EQ(engine::FillSharePage("<imgsrc> src=\"pcm-player.min.js\"", "/a.png"), "/a.png src=\"pcm-player.min.js\"");
    // No placeholder: unchanged. A replacement holding the placeholder is not replaced again.
    EXPECT_EQ(engine::FillSharePage("<html></html>", "/a.png", &folder), "<html></html>");
    EXPECT_EQ(engine::ReplaceAllIgnoreCase("<imgsrc><imgsrc>", "<imgsrc>", "<IMGSRC>!"), "<IMGSRC>!<IMGSRC>!");
}

TEST(SharePageTest, FileListCopiesExistingFilesAndNamesTheFailures) {
    fw_test::TempDir dir;
    fw_test::MakeFile(dir / "pages" / "pcm-player.min.js", "script");
    fw_test::MakeFile(dir / "out" / "pcm-player.min.js", "old");
    std::filesystem::create_directories(dir / "out" / "style.css");  // a folder where a file should go
    fw_test::MakeFile(dir / "pages" / "style.css", "css");
    std::vector<std::string> failed;
    engine::CopyShareFileList({(dir / "pages" / "pcm-player.min.js").string(), (dir / "pages" / "missing.js").string(),
                               (dir / "pages" / "style.css").string()},
                              (dir / "out").string(), &failed);
    EXPECT_EQ(fw_test::ReadFile(dir / "out" / "pcm-player.min.js"), "script");
    EXPECT_FALSE(std::filesystem::exists(dir / "out" / "missing.js"));
    EXPECT_EQ(failed, std::vector<std::string>{(dir / "pages" / "style.css").string()});
}

TEST(ShareFolderClaimsTest, OnlyTheNewestClaimDeletesTheFolder) {
    fw_test::TempDir dir;
    const std::string folder = (dir / "pc1").string() + "/";
    fw_test::MakeFile(dir / "pc1" / "stream.m3u8", "playlist");

    const engine::TFolderClaim oldRun = engine::ClaimShareFolder(folder);
    const engine::TFolderClaim newRun = engine::ClaimShareFolder((dir / "pc1").string());  // same folder, no "/"
    EXPECT_FALSE(engine::IsNewestFolderClaim(folder, oldRun));
    EXPECT_FALSE(engine::DeleteFolderIfNewestClaim(folder, oldRun));
    EXPECT_TRUE(std::filesystem::exists(dir / "pc1" / "stream.m3u8"));

    EXPECT_TRUE(engine::IsNewestFolderClaim(folder + "./", newRun));
    EXPECT_TRUE(engine::DeleteFolderIfNewestClaim(folder, newRun));
    EXPECT_FALSE(std::filesystem::exists(dir / "pc1"));
    // Nothing left to delete, and a folder never claimed is never deleted.
    EXPECT_FALSE(engine::DeleteFolderIfNewestClaim(folder, newRun));
    std::filesystem::create_directories(dir / "other");
    EXPECT_FALSE(engine::DeleteFolderIfNewestClaim((dir / "other").string(), newRun));
    EXPECT_TRUE(std::filesystem::exists(dir / "other"));
}

}  // namespace
