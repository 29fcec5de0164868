// The download's names: the archive's URL, the files in the working folder, the size text, and the
// version check the install window applies to a loaded libVLC.
#include <gtest/gtest.h>

#include <cstdlib>

#include "installer/DownloadNaming.h"
#include "installer/VlcVersionCheck.h"
#include "tests/support/test_env.h"

namespace {

using namespace hollarin;

TEST(DownloadNaming, UrlFollowsTheReleaseLayoutOfTheDownloadServer) {
    EXPECT_EQ(VlcDownloadUrl("2.1.5").value(),
              "http://download.videolan.org/pub/videolan/vlc/2.1.5/win32/vlc-2.1.5-win32.zip");
    EXPECT_EQ(VlcDownloadUrl("3.0", "127.0.0.1:8080").value(),
              "http://127.0.0.1:8080/pub/videolan/vlc/3.0/win32/vlc-3.0-win32.zip");
    EXPECT_FALSE(VlcDownloadUrl("3.0", ""));
}

TEST(DownloadNaming, OnlyPlainVersionWordsReachTheUrlAndTheFolderName) {
    const struct {
        const char* version;
        bool usable;
    } cases[] = {{"3.0", true}, {"2.1.5", true}, {"3.0.24-rc1", true}, {"3.0_x", true},
                 {"", false}, {".3", false}, {"-3", false}, {"3..0", false}, {"../3.0", false},
                 {"3.0/../..", false}, {"3.0 ", false}, {"3.0?x=1", false}, {"3.0#", false}, {"3.0%2F", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(IsUsableVlcVersion(c.version), c.usable) << '"' << c.version << '"';
        EXPECT_EQ(VlcDownloadUrl(c.version).has_value(), c.usable) << '"' << c.version << '"';
    }
}

TEST(DownloadNaming, ArchiveAndExtractionFolderLieInTheWorkingFolder) {
    TDownloadPaths paths = DownloadPaths("/var/tmp/x/");
    EXPECT_EQ(paths.ZipFileName, "/var/tmp/x/vlc.zip");
    EXPECT_EQ(paths.UnzipDir, "/var/tmp/x/vlc_zip/");
    EXPECT_EQ(paths.ZipDirValue, "/var/tmp/x/vlc_zip");
    EXPECT_EQ(ReleaseSourceFolder(paths.UnzipDir, "3.0"), "/var/tmp/x/vlc_zip/vlc-3.0/");

    fw_test::TempDir temp;
    const char* saved = std::getenv("TMPDIR");
    const std::string savedValue = saved ? saved : "";
    ::setenv("TMPDIR", temp.path().c_str(), 1);
    const std::string systemTemp = SystemTempFolder();
    if (saved) ::setenv("TMPDIR", savedValue.c_str(), 1);
    else ::unsetenv("TMPDIR");
    EXPECT_EQ(systemTemp, temp.path().string() + "/");
}

TEST(DownloadNaming, SizeTextGivesRoundedGroupedKilobytes) {
    const struct {
        int64_t bytes;
        char separator;
        const char* text;
    } cases[] = {{35617000, '.', "Download 35.617 kByte"}, {35617000, ',', "Download 35,617 kByte"},
                 {999, '.', "Download 1 kByte"},           {499, '.', "Download 0 kByte"},
                 {500, '.', "Download 0 kByte"},           {1500, '.', "Download 2 kByte"},
                 {2500, '.', "Download 2 kByte"},          {2501, '.', "Download 3 kByte"},
                 {1234567890, '.', "Download 1.234.568 kByte"}, {-1, '.', "Download 0 kByte"},
                 {0, '.', "Download 0 kByte"}};
    for (const auto& c : cases) EXPECT_EQ(DownloadSizeText(c.bytes, c.separator), c.text) << c.bytes;
}

TEST(VersionCheck, FirstWordOfTheVersionTextAgainstTheWantedVersion) {
    const struct {
        const char* text;
        const char* wanted;
        bool ok;
        const char* shown;
    } cases[] = {
        {"2.1.5 Rincewind", "2.1.5", true, "2.1.5 "},
        {"2.1.5 Rincewind", "2.1", true, "2.1.5 "},
        {"3.0.24 Vetinari", "3.0", true, "3.0.24 "},
        {"   3.0.24 Vetinari", "3.0", true, "3.0.24 "},
        {"3.0.24", "3.0", true, "3.0.24"},
        {"3.0.24 Vetinari", "3.0.2", false, "3.0.24 "},  // 3.0.24 is no point release of 3.0.2
        {"13.0.1 Future", "3.0", false, "13.0.1 "},      // the wanted text inside another number
        {"2.1.5 Rincewind", "1.5", false, "2.1.5 "},
        {"2.0.6 Twoflower", "2.1.5", false, "2.0.6 "},
        {"3.0.24 Vetinari", "", false, "3.0.24 "},
        {"", "3.0", false, ""},
        {"    ", "3.0", false, ""},
    };
    for (const auto& c : cases) {
        const TVersionCheck check = VersionCheck(c.text, c.wanted);
        EXPECT_EQ(check.Ok, c.ok) << '"' << c.text << "\" wanted " << c.wanted;
        EXPECT_EQ(check.VersionText, c.shown) << '"' << c.text << '"';
    }
}

}  // namespace
