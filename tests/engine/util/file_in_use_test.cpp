#include "engine/util/file_in_use.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "engine/util/atomic_file.h"
#include "engine/util/path_utils.h"
#include "tests/engine/util/file_test_helpers.h"
#include "tests/support/unprivileged.h"

namespace {

using namespace util_test;
using namespace std::chrono_literals;

// Every way of holding a file open: only an open for writing, here or in another process, counts.
TEST(FileInUse, OnlyAWriterMakesAFileInUse) {
    fw_test::TempDir dir;
    EXPECT_FALSE(engine::IsFileInUse((dir / "missing.jpg").string()));
    EXPECT_FALSE(engine::IsFileInUse(""));
    const std::string file = MakeFile(dir.path(), "seg_1.ts").string();
    const struct {
        int flags;
        bool inUse;
    } cases[] = {{O_RDONLY, false}, {O_WRONLY, true}, {O_RDWR, true}, {O_WRONLY | O_APPEND, true}};
    for (const auto& c : cases) {
        const int held = ::open(file.c_str(), c.flags);
        ASSERT_GE(held, 0);
        const int reader = ::open(file.c_str(), O_RDONLY);  // as the web server holds the file it sends
        EXPECT_EQ(engine::IsFileInUse(file), c.inUse) << c.flags;
        EXPECT_EQ(engine::IsOpenFileInUse(reader), c.inUse) << c.flags;
        ::close(held);
        EXPECT_FALSE(engine::IsFileInUse(file)) << c.flags;
        EXPECT_FALSE(engine::IsOpenFileInUse(reader)) << c.flags;
        ::close(reader);
    }
}

TEST(FileInUse, AWriterInAnotherProcessCountsUntilItEnds) {
    fw_test::TempDir dir;
    const fs::path file = dir / "dropped.bmp";
    fw_test::ChildProcess writer({"/bin/sh", "-c", "exec 3>>\"$0\"; printf x >&3; exec sleep 60", file.string()});
    ASSERT_TRUE(fw_test::WaitUntil([&] { return fs::exists(file) && fs::file_size(file) == 1; }, 10s));
    EXPECT_TRUE(engine::IsFileInUse(file.string()));
    writer.Kill();
    EXPECT_FALSE(engine::IsFileInUse(file.string()));
}

TEST(FileInUse, ReadOnlyFilesArePublishedFoldersAndPipesAreNot) {
    fw_test::TempDir dir;
    const fs::path readOnly = MakeFile(dir.path(), "ro.jpg");
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(engine::IsFileInUse(readOnly.string()));
    EXPECT_TRUE(engine::IsFileInUse(dir.path().string()));
    const fs::path pipe = dir / "pipe.ts";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
    EXPECT_TRUE(engine::IsFileInUse(pipe.string()));
}

// IsFileInUse of each file as the unprivileged child asks it: '1' or '0' each, while the child keeps
// held open for writing.
std::string AnswersOfTheUnprivilegedChild(const std::vector<fs::path>& files, const fs::path& held) {
    return fw_test::RunUnprivileged([&] {
               const int writer = ::open(held.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
               if (writer < 0) return std::string("cannot hold ") + held.string();
               std::string answers;
               for (const fs::path& file : files) answers += engine::IsFileInUse(file.string()) ? '1' : '0';
               ::close(writer);
               return answers;
           })
        .value_or("the child did not run");
}

// Files of another owner get no lease: root's files, asked about by the unprivileged child. Only root
// can give the child files of another owner that it may write.
TEST(FileInUse, WithoutALeaseOnAnotherOwnersFileOwnWritersAndFreshChangesCount) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root: only root can give the asker files of another owner";
    const fw_test::UnprivilegedTempDir dir(0, 0);  // root's, open to all
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    const fs::path notOurs = MakeFile(dir.path(), "not_ours.ts");  // 0644: the child may not write it
    const fs::path quiet = MakeFile(dir.path(), "quiet.ts", "x", 60);
    const fs::path fresh = MakeFile(dir.path(), "fresh.ts");
    const fs::path held = MakeFile(dir.path(), "held.ts", "x", 60);
    ::chmod(notOurs.c_str(), 0644);
    for (const fs::path& shared : {quiet, fresh, held}) ::chmod(shared.c_str(), 0666);
    const int rootWriter = ::open(notOurs.c_str(), O_WRONLY | O_APPEND);
    const std::string answers = AnswersOfTheUnprivilegedChild({notOurs, quiet, fresh, held}, held);
    ::close(rootWriter);
    EXPECT_EQ(answers, "0011");  // not ours, quiet, changed a moment ago, held by the asking process
}

// A file the asker may write but not read cannot be opened for a lease: the same fallback decides,
// for every user. The files are the child's own.
TEST(FileInUse, WithoutALeaseOnAWriteOnlyFileOwnWritersAndFreshChangesCount) {
    const fw_test::UnprivilegedTempDir dir;
    const struct {
        const char* name;
        mode_t mode;
        int secondsAgo;
        char inUse;
    } cases[] = {
        {"no_access.ts", 0000, 60, '0'},  // may not be written: never in use, even just changed
        {"no_access_fresh.ts", 0000, -1, '0'},
        {"quiet.ts", 0222, 60, '0'},
        {"fresh.ts", 0222, -1, '1'},
        {"held.ts", 0222, 60, '1'},  // held by the asking process
    };
    std::vector<fs::path> files;
    std::string expected;
    for (const auto& c : cases) {
        files.push_back(MakeFile(dir.path(), c.name, "x", c.secondsAgo));
        dir.GiveAway(files.back());
        ASSERT_EQ(::chmod(files.back().c_str(), c.mode), 0) << c.name;
        expected += c.inUse;
    }
    EXPECT_EQ(AnswersOfTheUnprivilegedChild(files, dir / "held.ts"), expected) << "for " << files.size() << " files";
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
