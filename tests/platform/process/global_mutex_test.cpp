#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "platform/process/GlobalMutex.h"
#include "tests/support/test_env.h"

namespace {

constexpr char kName[] = "Global\\Tarrowin_test_instance_";

TEST(GlobalMutexTest, NameBecomesAFileNameInTheLockFolder) {
    fw_test::TempDir dir;
    platform::TGlobalMutex mutex(kName, dir.path().string());
    EXPECT_EQ(platform::LockNameOf(kName), "Global_Tarrowin_test_instance_");
    EXPECT_EQ(mutex.LockFile(), (dir.path() / "Global_Tarrowin_test_instance_.lock").string());
    EXPECT_TRUE(std::filesystem::exists(mutex.LockFile()));
}

TEST(GlobalMutexTest, OnlyOneHolderAtATimeAndFreeAgainAfterRelease) {
    fw_test::TempDir dir;
    {
        platform::TGlobalMutex first(kName, dir.path().string());
        ASSERT_TRUE(first.Owned()) << first.Error();
        platform::TGlobalMutex second(kName, dir.path().string());
        EXPECT_FALSE(second.Owned());
        EXPECT_EQ(second.Error(), "held by another process");
        platform::TGlobalMutex other("Global\\another_name", dir.path().string());
        EXPECT_TRUE(other.Owned());
    }
    platform::TGlobalMutex again(kName, dir.path().string());
    EXPECT_TRUE(again.Owned()) << "a released mutex (its file still there) must be free";
}

TEST(GlobalMutexTest, HeldByAnotherProcessUntilThatProcessDies) {
    fw_test::TempDir dir;
    const auto ready = dir / "ready";
    {
        fw_test::ChildProcess holder({PROCESS_TEST_CHILD, "hold-lock", kName, dir.path().string(), ready.string()});
        ASSERT_TRUE(fw_test::WaitUntil([&] { return std::filesystem::exists(ready); }, std::chrono::seconds(10)));
        platform::TGlobalMutex mutex(kName, dir.path().string());
        EXPECT_FALSE(mutex.Owned());
        holder.Kill();
    }
    // A killed holder never unlocks by itself: the kernel drops its lock.
    EXPECT_TRUE(fw_test::WaitUntil([&] { return platform::TGlobalMutex(kName, dir.path().string()).Owned(); },
                                   std::chrono::seconds(5)));
}

TEST(GlobalMutexTest, LinkPlantedAtTheLockNameIsRefused) {
    fw_test::TempDir dir;
    const auto target = dir / "elsewhere";
    fw_test::WriteFile(target, "keep me");
    std::filesystem::create_symlink(target, dir / "Global_Tarrowin_test_instance_.lock");
    platform::TGlobalMutex mutex(kName, dir.path().string());
    EXPECT_FALSE(mutex.Owned());
    EXPECT_NE(mutex.Error().find("cannot open"), std::string::npos) << mutex.Error();
    EXPECT_EQ(fw_test::ReadFile(target), "keep me");
}

TEST(GlobalMutexTest, MissingFolderMeansNotOwned) {
    fw_test::TempDir dir;
    platform::TGlobalMutex mutex(kName, (dir / "missing").string());
    EXPECT_FALSE(mutex.Owned());
    EXPECT_FALSE(mutex.Error().empty());
}

TEST(GlobalMutexTest, LockFolderComesFromTheEnvironment) {
    ::unsetenv("FRAMEWICK_LOCK_DIR");
    EXPECT_EQ(platform::GlobalLockFolder(), "/tmp/");
    ::setenv("FRAMEWICK_LOCK_DIR", "/some/where", 1);
    EXPECT_EQ(platform::GlobalLockFolder(), "/some/where/");
    ::unsetenv("FRAMEWICK_LOCK_DIR");
}

}  // namespace
