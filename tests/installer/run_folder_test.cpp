// The working folder of a download: fresh, private and unguessable, below the temporary folder, and
// gone again when the download is over or the last thread working in it lets go.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "installer/RunFolder.h"
#include "tests/support/test_env.h"

namespace {

using namespace hollarin;
namespace fs = std::filesystem;

TEST(RunFolder, EachDownloadGetsAFreshPrivateFolder) {
    fw_test::TempDir temp;
    // What a run must never take for its own: the fixed names of earlier versions, made by anyone.
    fs::create_directories(temp / "vlc_zip" / "vlc-3.0");
    fw_test::WriteFile(temp / "vlc.zip", "someone's archive");

    std::string error;
    const auto first = TRunFolder::Create(temp.path().string(), &error);
    const auto second = TRunFolder::Create(temp.path().string(), &error);
    ASSERT_TRUE(first && second) << error;
    EXPECT_NE(first->Folder(), second->Folder());
    for (const auto& run : {first, second}) {
        const fs::path folder(run->Folder());
        EXPECT_EQ(folder.parent_path().parent_path(), temp.path());
        EXPECT_EQ(folder.parent_path().filename().string().rfind(kRunFolderPrefix, 0), 0u);
        struct stat st {};
        ASSERT_EQ(::stat(run->Folder().c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0700u) << "only the user may look inside";
        EXPECT_TRUE(fs::is_empty(folder));
        EXPECT_EQ(run->Paths().ZipFileName, run->Folder() + "vlc.zip");
        EXPECT_EQ(run->Paths().UnzipDir, run->Folder() + "vlc_zip/");
    }
    EXPECT_EQ(fw_test::ReadFile(temp / "vlc.zip"), "someone's archive");
    EXPECT_TRUE(fs::is_empty(temp / "vlc_zip" / "vlc-3.0"));

    EXPECT_FALSE(TRunFolder::Create((temp / "missing").string(), &error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

TEST(RunFolder, GoesWithEverythingInItWhenRemovedOrLetGo) {
    fw_test::TempDir temp;
    std::string error;
    auto removed = TRunFolder::Create(temp.path().string(), &error);
    auto held = TRunFolder::Create(temp.path().string(), &error);
    ASSERT_TRUE(removed && held) << error;
    for (const auto& run : {removed, held}) {
        fs::create_directories(run->Paths().UnzipDir + "vlc-3.0/plugins");
        fw_test::WriteFile(run->Paths().ZipFileName, "archive");
        fw_test::WriteFile(run->Paths().UnzipDir + "vlc-3.0/plugins/x.so", "plugin");
    }
    const std::string heldFolder = held->Folder();

    removed->Remove();
    EXPECT_FALSE(fs::exists(removed->Folder()));
    removed->Remove();  // once only

    // A thread still holds the folder: it stays until that one lets go too.
    std::shared_ptr<const TRunFolder> thread = held;
    held.reset();
    EXPECT_TRUE(fs::exists(heldFolder));
    thread.reset();
    EXPECT_FALSE(fs::exists(heldFolder));
    removed.reset();
    EXPECT_TRUE(fs::is_empty(temp.path()));
}

}  // namespace
