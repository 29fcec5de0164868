// The install step: the extracted release replaces the target folder as a whole and is loaded to
// confirm its version; an archive without the release, a copy that fails or an unusable target folder
// leave the target as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

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
        // The target holds an older library, loaded, and a file of its own.
        fw_test::FillFakeVlcFolder(libVlcDir, FakeVlc::WithoutPauseMedia);
        fw_test::WriteFile(libVlcDir / "stale.txt", "from before");
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
        {"", "3.0", TInstallStatus::NoTargetFolder, "no target folder"},
        {"relative/LIB_VLC", "3.0", TInstallStatus::NoTargetFolder, "a relative target folder"},
        {"/", "3.0", TInstallStatus::NoTargetFolder, "the root folder"},
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

TEST_F(LibraryInstallTest, TargetNameTakenByAFileIsNoTarget) {
    const fs::path blocked = temp / "app" / "LIB_FILE";
    fw_test::WriteFile(blocked, "a file, not a folder");
    TInstallResult result = Install(blocked.string());
    EXPECT_EQ(result.Status, TInstallStatus::NoTargetFolder);
    EXPECT_EQ(fw_test::ReadFile(blocked), "a file, not a folder");
    EXPECT_EQ(binding.GetLibVlcVersion(), "2.1.5 Old");

    // Below a file no folder can be made at all: the copy fails before anything is replaced.
    result = Install((blocked / "LIB_VLC").string());
    EXPECT_EQ(result.Status, TInstallStatus::CopyFailed);
    EXPECT_EQ(fw_test::ReadFile(blocked), "a file, not a folder");
    EXPECT_EQ(installer_test::FilesBelow(temp / "app").size(), 4u) << "LIB_VLC's three files and the blocking file";
}

}  // namespace
