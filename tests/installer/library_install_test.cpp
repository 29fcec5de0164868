// The install step: the extracted release replaces the target folder as a whole and is loaded to
// confirm its version; an archive without the release, a copy that fails or a target folder that is
// not an install of the libraries (someone's own folder, the home folder, a link, ...) leave the target
// as it was, byte for byte.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "engine/vlc/InstalledVlc.h"
#include "installer/InstallTarget.h"
#include "installer/LibraryInstall.h"
#include "tests/engine/vlc/fake_vlc_folder.h"
#include "tests/installer/installer_test_support.h"
#include "tests/support/test_env.h"

namespace {

using namespace hollarin;
using fw_test::FakeVlc;
namespace fs = std::filesystem;

const std::vector<std::string> kNoSystemVlc;

class LibraryInstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        installer_test::FillFakeRelease(unzipDir, "vlc-3.0", FakeVlc::Full);
        // The target holds an older install: its libraries, loaded, and its read-me.
        fw_test::FillFakeVlcFolder(libVlcDir, FakeVlc::WithoutPauseMedia);
        fw_test::WriteFile(libVlcDir / "README.txt", "older read me\n");
        binding.SetVlcLibPath(libVlcDir.string());
        ASSERT_EQ(binding.LoadVlcFunctions(), 0);
        ASSERT_EQ(binding.GetLibVlcVersion(), "2.1.5 Old");
    }

    TInstallResult Install(const std::string& target, const std::string& version = "3.0") {
        return TLibraryInstall(binding, unzipDir.string() + "/", target, version).Run();
    }

    // Folders beside the target other than the target itself (leftovers of a staged copy).
    std::vector<std::string> Beside() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(libVlcDir.parent_path()))
            if (entry.path() != libVlcDir) names.push_back(entry.path().filename().string());
        return names;
    }

    fw_test::TempDir temp;
    fs::path unzipDir = temp / "vlc_zip";
    fs::path libVlcDir = temp / "app" / "LIB_VLC";
    TInstallerVlcLib binding{kNoSystemVlc};
};

TEST_F(LibraryInstallTest, ReleaseReplacesTheTargetFolderAndIsLoaded) {
    const TInstallResult result = Install(libVlcDir.string() + "/");
    EXPECT_EQ(result.Status, TInstallStatus::Installed);
    EXPECT_EQ(installer_test::FilesBelow(libVlcDir),
              (std::vector<std::string>{"COPYING.txt", "README.txt", "libvlc.so.5", "libvlccore.so.9",
                                        "plugins/codec/libfake_codec_plugin.so"}))
        << "the old files went, the unwanted plugin was deleted";
    EXPECT_EQ(fw_test::ReadFile(libVlcDir / "README.txt"), "read me\n");
    ASSERT_TRUE(result.Probe.Loaded);
    EXPECT_TRUE(result.Probe.Version.Ok);
    EXPECT_EQ(result.Probe.Version.VersionText, "3.0.24 ");
    EXPECT_EQ(binding.GetLibVlcVersion(), "3.0.24 Fake") << "the new library, not the one loaded before";
    EXPECT_EQ(binding.VlcLibPath(), libVlcDir.string() + "/");
    EXPECT_TRUE(Beside().empty());
}

TEST_F(LibraryInstallTest, TargetThatDoesNotExistYetIsCreatedAndDocumentsAreOptional) {
    fs::remove(unzipDir / "vlc-3.0" / "COPYING.txt");
    fs::remove(unzipDir / "vlc-3.0" / "README.txt");
    const fs::path fresh = temp / "elsewhere" / "deeper" / "LIB_VLC";
    const TInstallResult result = Install(fresh.string());
    EXPECT_EQ(result.Status, TInstallStatus::Installed);
    EXPECT_EQ(installer_test::FilesBelow(fresh),
              (std::vector<std::string>{"libvlc.so.5", "libvlccore.so.9", "plugins/codec/libfake_codec_plugin.so"}));
    EXPECT_TRUE(result.Probe.Loaded);
}

TEST_F(LibraryInstallTest, NothingIsTouchedWithoutAReleaseOrAUsableTarget) {
    const std::vector<std::string> before = installer_test::FilesBelow(libVlcDir);
    const fs::path saved = fs::current_path();
    fs::current_path(temp.path());
    const struct {
        std::string target;
        std::string version;
        TInstallStatus status;
        const char* why;
    } cases[] = {
        {libVlcDir.string(), "3.0.24", TInstallStatus::NoRelease, "the archive's top folder is another version"},
        {libVlcDir.string(), "../vlc_zip/vlc-3.0", TInstallStatus::NoRelease, "a version that is a path"},
        {"", "3.0", TInstallStatus::TargetRefused, "no target folder"},
        {"relative/LIB_VLC", "3.0", TInstallStatus::TargetRefused, "a relative target folder"},
        {"/", "3.0", TInstallStatus::TargetRefused, "the root folder"},
    };
    for (const auto& c : cases) {
        const TInstallResult result = Install(c.target, c.version);
        EXPECT_EQ(result.Status, c.status) << c.why;
        EXPECT_FALSE(result.Probe.Loaded) << c.why;
        EXPECT_EQ(installer_test::FilesBelow(libVlcDir), before) << c.why;
        EXPECT_EQ(binding.GetLibVlcVersion(), "2.1.5 Old") << c.why << ": libVLC stays loaded";
    }
    EXPECT_FALSE(fs::exists(temp / "relative"));
    fs::current_path(saved);

    // A release without its plugins folder is no release either.
    fs::remove_all(unzipDir / "vlc-3.0" / "plugins");
    EXPECT_EQ(Install(libVlcDir.string()).Status, TInstallStatus::NoRelease);
    EXPECT_EQ(installer_test::FilesBelow(libVlcDir), before);
}

TEST_F(LibraryInstallTest, FailedCopyKeepsTheOldFolderAndLoadsItAgain) {
    const std::vector<std::string> before = installer_test::FilesBelow(libVlcDir);
    // A named pipe among the plugins cannot be copied.
    ASSERT_EQ(::mkfifo((unzipDir / "vlc-3.0" / "plugins" / "codec" / "pipe").c_str(), 0644), 0);
    const TInstallResult result = Install(libVlcDir.string());
    EXPECT_EQ(result.Status, TInstallStatus::CopyFailed);
    EXPECT_EQ(installer_test::FilesBelow(libVlcDir), before);
    EXPECT_TRUE(Beside().empty()) << "the half-made copy is gone";
    ASSERT_TRUE(result.Probe.Loaded);
    EXPECT_FALSE(result.Probe.Version.Ok);
    EXPECT_EQ(result.Probe.Version.VersionText, "2.1.5 ");
}

// What a user may name with -dd: a folder with their own things in it, their home folder, a link, a
// file or a pipe. Each is refused with its reason; nothing in it or behind it changes.
TEST_F(LibraryInstallTest, FoldersThatAreNoInstallAreRefusedAndKeptByteForByte) {
    const fs::path home = temp / "home";
    fs::create_directories(home);
    fw_test::WriteFile(home / "README.txt", "my own read-me\n");  // an install's name, but the home folder's file
    const fs::path own = temp / "own";
    fw_test::FillFakeVlcFolder(own, FakeVlc::Full);
    fw_test::WriteFile(own / "notes.txt", "my notes\n");
    const fs::path folderAsDocument = temp / "dir_readme";
    fs::create_directories(folderAsDocument / "README.txt");
    fw_test::WriteFile(folderAsDocument / "README.txt" / "letter.txt", "a letter\n");
    const fs::path ownTest = temp / "own_test";
    fs::create_directories(ownTest);
    fw_test::WriteFile(ownTest / "test.txt", "my test results\n");
    const fs::path link = temp / "link";
    fs::create_directory_symlink(libVlcDir, link);
    const fs::path file = temp / "file";
    fw_test::WriteFile(file, "a file, not a folder");
    const fs::path fifo = temp / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);

    const char* savedHome = std::getenv("HOME");
    const std::string savedHomeValue = savedHome ? savedHome : "";
    ::setenv("HOME", home.c_str(), 1);
    const struct {
        fs::path target;
        const char* refusal;
    } cases[] = {
        {own, "holds \"notes.txt\""},
        {folderAsDocument, "holds \"README.txt\""},
        {ownTest, "holds \"test.txt\""},
        {home, "home folder"},
        {link, "link"},
        {file, "no folder"},
        {fifo, "no folder"},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> before = installer_test::FilesBelow(temp.path());
        const TInstallResult result = Install(c.target.string() + "/");
        EXPECT_EQ(result.Status, TInstallStatus::TargetRefused) << c.target;
        EXPECT_NE(result.Refusal.find(c.refusal), std::string::npos) << c.target << ": " << result.Refusal;
        EXPECT_FALSE(result.Probe.Loaded) << c.target;
        EXPECT_EQ(installer_test::FilesBelow(temp.path()), before) << c.target << ": nothing made, moved or deleted";
        EXPECT_EQ(binding.GetLibVlcVersion(), "2.1.5 Old") << c.target << ": libVLC stays loaded";
    }
    if (savedHome) ::setenv("HOME", savedHomeValue.c_str(), 1);
    else ::unsetenv("HOME");
    EXPECT_EQ(fw_test::ReadFile(home / "README.txt"), "my own read-me\n");
    EXPECT_EQ(fw_test::ReadFile(own / "notes.txt"), "my notes\n");
    EXPECT_EQ(fw_test::ReadFile(folderAsDocument / "README.txt" / "letter.txt"), "a letter\n");
    EXPECT_EQ(fw_test::ReadFile(ownTest / "test.txt"), "my test results\n");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fw_test::ReadFile(file), "a file, not a folder");
    EXPECT_TRUE(fs::is_fifo(fifo));

    // Below a file no folder can be made at all: the copy fails before anything is replaced.
    const TInstallResult below = Install((file / "LIB_VLC").string());
    EXPECT_EQ(below.Status, TInstallStatus::CopyFailed);
    EXPECT_EQ(fw_test::ReadFile(file), "a file, not a folder");
}

// A plugins folder is the install's only while it holds libVLC's plug-ins as libVLC lays them out (in
// it or in its category folders, with the plug-in cache); one with anything else of the user's in it
// makes the whole folder someone's own: refused, and kept byte for byte.
TEST_F(LibraryInstallTest, PluginsFolderIsTheInstallsOnlyWhileItHoldsNothingButPlugins) {
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> files;  // below plugins/; a name ending in "/" is a folder
        bool ours;
    } cases[] = {
        {"empty", {}, true},
        {"plug-ins, categories and the cache",
         {{"plugins.dat", "cache"}, {"libx_plugin.so", "x"}, {"codec/liba_plugin.so", "a"}, {"gui/", ""}},
         true},
        {"a user's file", {{"notes.txt", "my notes\n"}}, false},
        {"a user's file in a category", {{"codec/liba_plugin.so", "a"}, {"codec/holiday.jpg", "JFIF"}}, false},
        {"a plug-in two folders down", {{"codec/old/liba_plugin.so", "a"}}, false},
        {"the cache in a category", {{"codec/plugins.dat", "cache"}}, false},
        {"a folder under a plug-in's name", {{"libx_plugin.so/letter.txt", "a letter\n"}}, false},
        {"a name that is only the affixes", {{"lib_plugin.so", "x"}}, false},
    };
    int n = 0;
    for (const auto& c : cases) {
        const fs::path target = temp / ("target" + std::to_string(n++));
        fw_test::FillFakeVlcFolder(target, FakeVlc::WithoutPauseMedia);
        fs::create_directories(target / "plugins");
        for (const auto& [name, bytes] : c.files) {
            if (name.ends_with("/")) {
                fs::create_directories(target / "plugins" / name);
                continue;
            }
            fs::create_directories((target / "plugins" / name).parent_path());
            fw_test::WriteFile(target / "plugins" / name, bytes);
        }
        std::vector<std::pair<std::string, std::string>> before;
        for (const std::string& name : installer_test::FilesBelow(target))
            before.emplace_back(name, fw_test::ReadFile(target / name));

        const TInstallResult result = Install(target.string() + "/");
        if (c.ours) {
            EXPECT_EQ(result.Status, TInstallStatus::Installed) << c.what << ": " << result.Refusal;
            EXPECT_EQ(installer_test::FilesBelow(target / "plugins"),
                      std::vector<std::string>{"codec/libfake_codec_plugin.so"})
                << c.what;
            continue;
        }
        EXPECT_EQ(result.Status, TInstallStatus::TargetRefused) << c.what;
        EXPECT_NE(result.Refusal.find("\"plugins\" folder holds more than libVLC's plug-ins"), std::string::npos)
            << c.what << ": " << result.Refusal;
        std::vector<std::pair<std::string, std::string>> after;
        for (const std::string& name : installer_test::FilesBelow(target))
            after.emplace_back(name, fw_test::ReadFile(target / name));
        EXPECT_EQ(after, before) << c.what;
    }
}

// The installed libVLC's own plug-in folder is what an install's plugins folder looks like.
TEST(InstallTarget, InstalledPluginFolderCountsAsAnInstallsItem) {
    const std::optional<engine::TInstalledVlc> vlc = engine::FindInstalledVlc();
    ASSERT_TRUE(vlc) << "the suite needs the system's libVLC";
    EXPECT_TRUE(IsInstallItem(fs::directory_entry(vlc->PluginFolder)));
}

// What came into an old folder's plugins folder while it was being replaced stays with the folder.
TEST(InstallTarget, RemovingAnOldInstallKeepsAPluginsFolderWithAUsersFile) {
    fw_test::TempDir temp;
    const fs::path old = temp / "LIB_VLC.old";
    fw_test::FillFakeVlcFolder(old, FakeVlc::Full);
    fs::create_directories(old / "plugins" / "codec");
    fw_test::WriteFile(old / "plugins" / "codec" / "liba_plugin.so", "a");
    fw_test::WriteFile(old / "plugins" / "codec" / "mine.txt", "mine\n");
    EXPECT_FALSE(RemoveInstallItems(old.string()));
    EXPECT_EQ(installer_test::FilesBelow(old), (std::vector<std::string>{"plugins/codec/liba_plugin.so",
                                                                         "plugins/codec/mine.txt"}));
    EXPECT_EQ(fw_test::ReadFile(old / "plugins" / "codec" / "mine.txt"), "mine\n");
}

// The window's write-test file and links among the install's items belong to the install: they go
// with the old folder, and a link goes without what it points to.
TEST_F(LibraryInstallTest, OldInstallGoesWithItsLinksButNotWhatTheyPointTo) {
    const fs::path mine = temp / "mine";
    fs::create_directories(mine);
    fw_test::WriteFile(mine / "keep.txt", "kept\n");
    fs::create_directory_symlink(mine, libVlcDir / "plugins");
    fw_test::WriteFile(libVlcDir / "test.txt", "writing test\n");
    const TInstallResult result = Install(libVlcDir.string());
    EXPECT_EQ(result.Status, TInstallStatus::Installed) << result.Refusal;
    EXPECT_FALSE(fs::is_symlink(libVlcDir / "plugins"));
    EXPECT_TRUE(fs::exists(libVlcDir / "plugins/codec/libfake_codec_plugin.so"));
    EXPECT_FALSE(fs::exists(libVlcDir / "test.txt"));
    EXPECT_EQ(fw_test::ReadFile(mine / "keep.txt"), "kept\n");
    EXPECT_TRUE(Beside().empty());
}

// Of an old folder only the install's items are deleted; what else came into it stays, and so does
// the folder.
TEST(InstallTarget, RemovingAnOldInstallKeepsWhatIsNotItsOwn) {
    fw_test::TempDir temp;
    const fs::path old = temp / "LIB_VLC.old";
    fw_test::FillFakeVlcFolder(old, FakeVlc::Full);
    fs::create_directories(old / "plugins" / "codec");
    fw_test::WriteFile(old / "COPYING.txt", "licence");
    fw_test::WriteFile(old / "late.txt", "came in late\n");
    EXPECT_FALSE(RemoveInstallItems(old.string()));
    EXPECT_EQ(installer_test::FilesBelow(old), std::vector<std::string>{"late.txt"});
    EXPECT_EQ(fw_test::ReadFile(old / "late.txt"), "came in late\n");

    fs::remove(old / "late.txt");
    fw_test::FillFakeVlcFolder(old, FakeVlc::Full);
    EXPECT_TRUE(RemoveInstallItems(old.string()));
    EXPECT_FALSE(fs::exists(old));
}

}  // namespace
