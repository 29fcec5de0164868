#include "engine/util/file_in_use.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "engine/util/atomic_file.h"
#include "engine/util/path_utils.h"
#include "tests/engine/util/file_test_helpers.h"

namespace {

using namespace util_test;

TEST(FileInUse, MissingWritableReadOnlyAndMarked) {
    fw_test::TempDir dir;
    EXPECT_FALSE(engine::IsFileInUse((dir / "missing.jpg").string()));
    EXPECT_FALSE(engine::IsFileInUse(""));
    const std::string file = MakeFile(dir.path(), "snap.jpg").string();
    EXPECT_FALSE(engine::IsFileInUse(file));
    {
        engine::TFileUseMark outer(file);
        engine::TFileUseMark inner(dir.path().string() + "/./snap.jpg");  // another spelling, same file
        EXPECT_TRUE(engine::IsFileInUse(file));
    }
    EXPECT_FALSE(engine::IsFileInUse(file));
    // A mark made before the file exists still counts once it is there.
    const std::string later = (dir / "later.ts").string();
    engine::TFileUseMark mark(later);
    EXPECT_FALSE(engine::IsFileInUse(later));
    fw_test::WriteFile(later, "ts");
    EXPECT_TRUE(engine::IsFileInUse(later));
}

TEST(FileInUse, ReadOnlyFileCountsAsInUse) {
    fw_test::TempDir dir;
    fs::path file = MakeFile(dir.path(), "ro.jpg");
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_TRUE(engine::IsFileInUse(file.string()));
}

TEST(FileInUse, UnreadableFileAndFolderCountAsInUse) {
    fw_test::TempDir dir;
    EXPECT_TRUE(engine::IsFileInUse(dir.path().string()));
    fs::path file = MakeFile(dir.path(), "wo.ts");
    fs::permissions(file, fs::perms::owner_write);
    if (::geteuid() == 0) GTEST_SKIP() << "root may open any file";
    EXPECT_TRUE(engine::IsFileInUse(file.string()));
}

TEST(AtomicFile, ReplacesWholeAndLeavesNoTemporary) {
    fw_test::TempDir dir;
    const std::string file = (dir / "index.html").string();
    fw_test::WriteFile(file, "old");
    std::string error;
    ASSERT_TRUE(engine::WriteFileAtomic(file, "new content", &error)) << error;
    EXPECT_EQ(fw_test::ReadFile(file), "new content");
    EXPECT_FALSE(engine::WriteFileAtomic((dir / "missing/x.html").string(), "y", &error));
    EXPECT_NE(error.find("missing"), std::string::npos);
    int entries = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(AtomicFile, OwnerOnlyModeHoldsFromCreation) {
    fw_test::TempDir dir;
    const fs::path shared = dir / "index.html";
    const fs::path secret = dir / "ftplist.xml";
    fw_test::WriteFile(secret.string(), "old");
    fs::permissions(secret, fs::perms::all);  // the file it replaces may be wide open
    ASSERT_TRUE(engine::WriteFileAtomic(shared.string(), "page"));
    ASSERT_TRUE(engine::WriteFileAtomic(secret.string(), "password", nullptr, engine::kOwnerOnlyFileMode));
    EXPECT_EQ(fs::status(secret).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE((fs::status(shared).permissions() & fs::perms::owner_read) != fs::perms::none);
    EXPECT_TRUE((fs::status(shared).permissions() & fs::perms::group_write) == fs::perms::none);
}

TEST(PathUtils, TrailingDelimiterAndNameParts) {
    EXPECT_EQ(engine::IncludeTrailingPathDelimiter("/data/Log"), "/data/Log/");
    EXPECT_EQ(engine::IncludeTrailingPathDelimiter("/data/Log/"), "/data/Log/");
    EXPECT_EQ(engine::IncludeTrailingPathDelimiter(""), "");
    EXPECT_EQ(engine::ExcludeTrailingPathDelimiter("/data/Log//"), "/data/Log");
    EXPECT_EQ(engine::ExcludeTrailingPathDelimiter("/"), "/");
    EXPECT_EQ(engine::ExtractFileExt("/a.b/c.TS"), ".TS");
    EXPECT_EQ(engine::ExtractFileExt("/a.b/noext"), "");
    EXPECT_EQ(engine::ExtractFileName("/a/b.jpg"), "b.jpg");
    EXPECT_EQ(engine::ExtractFilePath("/a/b.jpg"), "/a/");
    EXPECT_TRUE(engine::HasTrailingPathDelimiter(engine::ProgramFolder()));
    EXPECT_EQ(engine::ExtractFilePath(engine::ProgramFilePath()), engine::ProgramFolder());
}

}  // namespace
