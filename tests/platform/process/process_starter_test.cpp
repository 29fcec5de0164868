#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "platform/process/ProcessStarter.h"
#include "tests/support/test_env.h"

namespace {

TEST(ProcessStarterTest, ArgumentsArriveAsGivenWithoutAShell) {
    fw_test::TempDir dir;
    const auto out = dir / "args.txt";
    const std::vector<std::string> args = {"write-args", out.string(), "-vv", "3.0", "-dd",
                                           "/a folder/with \"quotes\"/", "$HOME;rm -rf x", "*"};
    platform::TDetachedProcessStarter starter;
    std::string error;
    ASSERT_TRUE(starter.StartDetached(PROCESS_TEST_CHILD, args, &error)) << error;
    ASSERT_TRUE(fw_test::WaitUntil([&] { return std::filesystem::exists(out); }, std::chrono::seconds(10)));
    EXPECT_EQ(fw_test::ReadFile(out), "-vv\n3.0\n-dd\n/a folder/with \"quotes\"/\n$HOME;rm -rf x\n*\n");
}

TEST(ProcessStarterTest, MissingProgramIsAFailureWithAReason) {
    fw_test::TempDir dir;
    platform::TDetachedProcessStarter starter;
    std::string error;
    EXPECT_FALSE(starter.StartDetached((dir / "Hollarin").string(), {"-vv", "3.0"}, &error));
    EXPECT_NE(error.find("Hollarin"), std::string::npos) << error;
}

}  // namespace
