#include "engine/util/file_in_use.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/util/atomic_file.h"
#include "engine/util/path_utils.h"
#include "tests/engine/util/file_test_helpers.h"

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

// Files of another owner get no lease: run the probe under another user's id (root only).
TEST(FileInUse, WithoutALeaseOwnWritersAndFreshChangesCount) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to ask as another user";
    char pattern[] = "/tmp/fw-in-use-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    ::chmod(dir.c_str(), 0755);
    const fs::path notOurs = MakeFile(dir, "not_ours.ts");  // root's, 0644: the probe may not write it
    const fs::path quiet = MakeFile(dir, "quiet.ts", "x", 60);
    const fs::path fresh = MakeFile(dir, "fresh.ts");
    const fs::path held = MakeFile(dir, "held.ts", "x", 60);
    ::chmod(notOurs.c_str(), 0644);
    for (const fs::path& shared : {quiet, fresh, held}) ::chmod(shared.c_str(), 0666);
    const int rootWriter = ::open(notOurs.c_str(), O_WRONLY | O_APPEND);
    fs::copy_file(FW_FILE_IN_USE_PROBE, dir / "probe");

    std::string answers;
    const int code = fw_test::RunProgram({"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "env",
                                          "ASAN_OPTIONS=detect_leaks=0", (dir / "probe").string(), "--hold",
                                          held.string(), notOurs.string(), quiet.string(), fresh.string(),
                                          held.string()},
                                         &answers);
    ::close(rootWriter);
    fs::remove_all(dir);
    ASSERT_EQ(code, 0) << answers;
    EXPECT_EQ(answers, "0011\n");  // not ours, quiet, changed a moment ago, held by the asking process
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
