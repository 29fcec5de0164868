#include "engine/util/folder_scan.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "tests/engine/util/file_test_helpers.h"
#include "tests/support/unprivileged.h"

namespace {

using namespace util_test;

TEST(FolderScan, NewestFileFiltersByExtensionIgnoringCase) {
    fw_test::TempDir dir;
    MakeFile(dir.path(), "a.ts", "1", 100);
    MakeFile(dir.path(), "b.txt", "1", 10);
    MakeFile(dir.path(), "c.ts", "1", 300);
    fs::create_directories(dir / "newer.ts");  // a folder never qualifies
    EXPECT_EQ(engine::GetNewestFile(dir.path().string(), ".TS"), "a.ts");
    EXPECT_EQ(engine::GetNewestFile(Slash(dir.path()), ""), "b.txt");
    EXPECT_EQ(engine::GetOldestFile(dir.path().string()), "c.ts");
}

TEST(FolderScan, TiesKeepTheFileListedFirst) {
    fw_test::TempDir dir;
    auto t = fs::file_time_type::clock::now() - std::chrono::seconds(50);
    for (const char* name : {"b.jpg", "a.jpg", "c.jpg"}) {
        MakeFile(dir.path(), name);
        fs::last_write_time(dir / name, t);
    }
    EXPECT_EQ(engine::GetNewestFile(dir.path().string(), ".jpg"), "a.jpg");
    EXPECT_EQ(engine::GetOldestFile(dir.path().string()), "a.jpg");
}

TEST(FolderScan, MissingFolderGivesEmptyAnswers) {
    fw_test::TempDir dir;
    const std::string missing = (dir / "missing").string();
    EXPECT_EQ(engine::GetNewestFile(missing, ""), "");
    EXPECT_EQ(engine::GetOldestFile(missing), "");
    EXPECT_EQ(engine::GetFolderSize(missing, true), 0u);
    EXPECT_EQ(engine::CountFiles("*.*", missing), 0);
    std::vector<std::string> list{"kept"};
    engine::ListFiles(missing, "*", list, true);
    engine::ListSubFolders(missing, list, true);
    EXPECT_EQ(list, std::vector<std::string>{"kept"});
}

TEST(FolderScan, CountFilesCountsFilesOnly) {
    fw_test::TempDir dir;
    fs::create_directories(dir / "sub1");
    fs::create_directories(dir / "sub2.d");
    EXPECT_EQ(engine::CountFiles("*.*", dir.path().string()), 0);
    MakeFile(dir.path(), "one.JPG");
    MakeFile(dir.path(), ".hidden.jpg");
    MakeFile(dir.path(), "noext");
    fs::permissions(MakeFile(dir.path(), "ro.jpg"), fs::perms::owner_read);
    EXPECT_EQ(engine::CountFiles("*.*", dir.path().string()), 4);
    EXPECT_EQ(engine::CountFiles("*.jpg", dir.path().string()), 3);
    EXPECT_EQ(engine::CountFiles("one.???", dir.path().string()), 1);
}

TEST(FolderScan, FolderSizeCountsLargeFilesAndSubFolders) {
    fw_test::TempDir dir;
    MakeFile(dir.path(), "small", std::string(1000, 'a'));
    MakeFile(dir.path(), "sub/inner", std::string(24, 'b'));
    MakeFile(dir.path(), ".hidden", std::string(6, 'c'));
    // A sparse 3 GB file: sizes are 64-bit.
    const uint64_t big = 3ull * 1024 * 1024 * 1024;
    fw_test::WriteFile(dir / "big", "");
    ASSERT_EQ(::truncate((dir / "big").c_str(), static_cast<off_t>(big)), 0);
    // A link to a folder outside adds nothing.
    fw_test::TempDir outside;
    MakeFile(outside.path(), "far", std::string(5000, 'd'));
    fs::create_directory_symlink(outside.path(), dir / "link");

    EXPECT_EQ(engine::GetFolderSize(dir.path().string(), false), big + 1006);
    EXPECT_EQ(engine::GetFolderSize(Slash(dir.path()), true), big + 1030);
}

// A sub-folder that cannot be read adds nothing; the rest of the tree still counts. Run as a user for
// whom the folder's mode counts.
TEST(FolderScan, RecursiveFolderSizeCountsWhatCanBeRead) {
    fw_test::UnprivilegedTempDir dir;
    const fs::path top = dir / "archive";
    MakeFile(top, "top.jpg", std::string(1000, 'a'));
    MakeFile(top, "readable/inner.jpg", std::string(500, 'b'));
    MakeFile(top, "closed/hidden.jpg", std::string(700, 'c'));
    for (const char* path : {"", "top.jpg", "readable", "readable/inner.jpg", "closed", "closed/hidden.jpg"})
        dir.GiveAway(top / path);
    ASSERT_EQ(::chmod((top / "closed").c_str(), 0), 0);

    const auto sizes = fw_test::RunUnprivileged([&] {
        return std::to_string(engine::GetFolderSize(top.string(), true)) + " " +
               std::to_string(engine::GetFolderSize(top.string(), false)) + " " +
               std::to_string(engine::GetFolderSize((top / "closed").string(), true));
    });
    ASSERT_TRUE(sizes.has_value()) << "the child did not run";
    EXPECT_EQ(*sizes, "1500 1000 0");
}

// Files and folders that go while the folder is scanned (segments the HLS output drops) add nothing;
// what stays is still counted, never a size of 0 for the whole folder.
TEST(FolderScan, FolderSizeSkipsEntriesThatVanishDuringTheScan) {
    fw_test::TempDir dir;
    MakeFile(dir.path(), "keep.ts", std::string(100'000, 'k'));
    std::atomic<bool> stop{false};
    std::thread churn([&] {
        for (int i = 0; !stop; ++i) {
            const std::string n = std::to_string(i % 40), old = std::to_string((i + 20) % 40);
            MakeFile(dir.path(), "seg_" + n + ".ts", "s");
            MakeFile(dir.path(), "sub_" + n + "/seg.ts", "s");
            fs::remove(dir / ("seg_" + old + ".ts"));
            fs::remove_all(dir / ("sub_" + old));
        }
    });
    int wrong = 0;
    for (int i = 0; i < 300; ++i) {
        if (engine::GetFolderSize(dir.path().string(), i % 2 == 0) < 100'000) ++wrong;
    }
    stop = true;
    churn.join();
    EXPECT_EQ(wrong, 0);
}

TEST(FolderScan, ListsSkipHiddenFoldersButListHiddenFiles) {
    fw_test::TempDir dir;
    const std::string root = Slash(dir.path());
    MakeFile(dir.path(), "b.png");
    MakeFile(dir.path(), ".a.png");
    MakeFile(dir.path(), "x.txt");
    MakeFile(dir.path(), "sub/c.png");
    MakeFile(dir.path(), "sub/deeper/d.png");
    MakeFile(dir.path(), ".secret/e.png");

    std::vector<std::string> files;
    engine::ListFiles(dir.path().string(), "*.png", files, true);
    EXPECT_EQ(files, (std::vector<std::string>{root + ".a.png", root + "b.png", root + "sub/c.png",
                                               root + "sub/deeper/d.png"}));

    std::vector<std::string> flat{"first"};
    engine::ListFiles(root, "*.png", flat, false);
    EXPECT_EQ(flat, (std::vector<std::string>{"first", root + ".a.png", root + "b.png"}));

    fs::create_directories(dir / "asub");
    std::vector<std::string> names, full;
    engine::ListSubFolders(dir.path().string(), names, false);
    engine::ListSubFolders(root, full, true);
    EXPECT_EQ(names, (std::vector<std::string>{"asub", "sub"}));
    EXPECT_EQ(full, (std::vector<std::string>{root + "asub", root + "sub"}));
}

}  // namespace
