#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "app/archive/ArchivePrune.h"
#include "engine/settings/settings.h"
#include "tests/app/archive/archive_fixture.h"
#include "tests/support/unprivileged.h"

using namespace archive_test;

namespace {

constexpr uint64_t kMB = app::kArchiveSizeUnitBytes;

app::TArchiveLimits ByCount(int files) { return {engine::kArchivePruneByCount, 0, files}; }
app::TArchiveLimits BySize(int units) { return {engine::kArchivePruneBySize, units, 0}; }

struct ArchivePruneTest : ::testing::Test {
    fw_test::TempDir dir;
    fs::path archive = dir / "Archive";
    void SetUp() override { fs::create_directories(archive); }
};

TEST_F(ArchivePruneTest, CountLimitDeletesTheOldestFilesInOnePass) {
    MakeSnapshots(archive / "cap_0", 1005);
    MakeSnapshots(archive / "cap_1", 1000);
    const app::TArchivePruneResult result = app::PruneArchive(archive.string() + "/", ByCount(1000));
    EXPECT_EQ(result.DeletedFiles, 5);
    EXPECT_TRUE(result.Problems.empty());
    EXPECT_EQ(CountIn(archive / "cap_0"), 1000u);
    EXPECT_EQ(CountIn(archive / "cap_1"), 1000u);
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(fs::exists(archive / "cap_0" / ("snap_" + std::to_string(1000000 + i) + ".jpg")));
    EXPECT_TRUE(fs::exists(archive / "cap_0" / "snap_1000005.jpg"));
}

TEST_F(ArchivePruneTest, SizeLimitCountsWholeMillionsOfBytes) {
    struct Case {
        const char* name;
        std::vector<uintmax_t> sizes;  // oldest first
        int limit;
        size_t left;
    };
    const Case cases[] = {
        {"1,000,999,999 bytes count as 1000", {400 * kMB, 600 * kMB + 999'999}, 1000, 2},
        {"1,001,000,000 bytes lose the oldest", {1 * kMB, 400 * kMB, 600 * kMB}, 1000, 2},
        {"several oldest go until it fits", {300 * kMB, 300 * kMB, 300 * kMB, 300 * kMB}, 500, 1},
        {"a single file above the limit goes too", {2 * kMB}, 1, 0},
    };
    for (const Case& c : cases) {
        fs::remove_all(archive);
        for (size_t i = 0; i < c.sizes.size(); ++i) MakeFile(archive / "cap", "f" + std::to_string(i), c.sizes[i], int(c.sizes.size() - i));
        app::PruneArchive(archive.string(), BySize(c.limit));
        ASSERT_EQ(CountIn(archive / "cap"), c.left) << c.name;
        if (c.left > 0) {
            EXPECT_TRUE(fs::exists(archive / "cap" / ("f" + std::to_string(c.sizes.size() - 1)))) << c.name;
        }
    }
}

TEST_F(ArchivePruneTest, OnlyFilesOfFirstLevelSubFoldersAreTouched) {
    MakeSnapshots(archive, 5);                    // directly in the archive folder
    MakeSnapshots(archive / "cap" / "deeper", 5);  // below a sub-folder
    MakeSnapshots(archive / ".hidden", 5);
    MakeSnapshots(archive / "cap", 5);
    app::PruneArchive(archive.string(), ByCount(2));
    EXPECT_EQ(CountIn(archive), 5u + 2u);  // five files, "cap", ".hidden"
    EXPECT_EQ(CountIn(archive / "cap" / "deeper"), 5u);
    EXPECT_EQ(CountIn(archive / ".hidden"), 5u);
    EXPECT_EQ(CountIn(archive / "cap"), 2u + 1u);  // two files and "deeper"
}

TEST_F(ArchivePruneTest, LinksAreNeverFollowed) {
    const fs::path outside = dir / "outside";
    MakeSnapshots(outside, 5);
    fs::create_directory_symlink(outside, archive / "linked_folder");
    MakeSnapshots(archive / "cap", 3);
    MakeFile(dir.path(), "precious", 10, 999);  // older than every snapshot
    fs::create_symlink(dir / "precious", archive / "cap" / "0_link");
    app::PruneArchive(archive.string(), ByCount(3));
    EXPECT_EQ(CountIn(outside), 5u) << "a linked sub-folder is skipped";
    EXPECT_TRUE(fs::exists(dir / "precious")) << "a link found as a file goes itself, its target stays";
    EXPECT_FALSE(fs::exists(fs::symlink_status(archive / "cap" / "0_link")));
    EXPECT_EQ(CountIn(archive / "cap"), 3u);

    fs::create_directory_symlink(archive, dir / "ArchiveLink");
    const app::TArchivePruneResult result = app::PruneArchive((dir / "ArchiveLink").string() + "/", ByCount(0));
    ASSERT_EQ(result.Problems.size(), 1u);
    EXPECT_NE(result.Problems[0].find("is not pruned : it is a link"), std::string::npos) << result.Problems[0];
    EXPECT_EQ(CountIn(archive / "cap"), 3u);
}

TEST_F(ArchivePruneTest, FoldersThatAreNoArchiveAreRefused) {
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    ::setenv("HOME", dir.path().c_str(), 1);
    EXPECT_EQ(app::ArchiveFolderRefusal("/"), "it is the root folder");
    EXPECT_EQ(app::ArchiveFolderRefusal(dir.path().string() + "/"), "it is the home folder");
    EXPECT_EQ(app::ArchiveFolderRefusal(""), "no archive folder set");
    EXPECT_EQ(app::ArchiveFolderRefusal((dir / "missing").string()), "it is no folder");
    EXPECT_EQ(app::ArchiveFolderRefusal(archive.string()), "");
    ::setenv("HOME", savedHome.c_str(), 1);
}

TEST_F(ArchivePruneTest, NoLimitKindTouchesNothing) {
    MakeSnapshots(archive / "cap", 5);
    for (uint8_t kind : {uint8_t(0), uint8_t(3), uint8_t(255)})
        EXPECT_EQ(app::PruneArchive(archive.string(), {kind, 0, 0}).DeletedFiles, 0);
    EXPECT_EQ(CountIn(archive / "cap"), 5u);
}

// A file that will not go: the unprivileged child prunes over a folder it may not change (root ignores
// folder permissions). Each pass's problems, one line each.
TEST_F(ArchivePruneTest, FileThatWillNotGoEndsThatFolderOnly) {
    const fw_test::UnprivilegedTempDir dir;
    const fs::path archive = dir / "Archive";
    const std::string problems =
        fw_test::RunUnprivileged([&] {
            MakeSnapshots(archive / "a_locked", 5, 2 * kMB);
            MakeSnapshots(archive / "b_free", 5, 2 * kMB);
            fs::permissions(archive / "a_locked", fs::perms::owner_read | fs::perms::owner_exec);
            std::string lines;
            for (const app::TArchiveLimits& limits : {ByCount(2), BySize(1)}) {
                const app::TArchivePruneResult result = app::PruneArchive(archive.string(), limits);
                lines += std::to_string(result.Problems.size()) + " problem(s)" +
                         (result.Problems.empty() ? std::string() : ": " + result.Problems[0]) + "\n";
            }
            return lines;
        }).value_or("the child did not run");
    std::istringstream passes(problems);
    for (const char* limit : {"by count", "by size"}) {
        std::string pass;
        std::getline(passes, pass);
        EXPECT_EQ(pass.rfind("1 problem(s): ", 0), 0u) << limit << ": " << pass;
        EXPECT_NE(pass.find("a_locked/snap_1000000.jpg cannot be deleted"), std::string::npos) << limit << ": " << pass;
    }
    EXPECT_EQ(CountIn(archive / "a_locked"), 5u);
    EXPECT_EQ(CountIn(archive / "b_free"), 0u);  // by count to 2, then by size to none above 1 unit
}

}  // namespace
