// A writer process killed at random moments of its writes leaves a hive that reads as the old or the
// new content, never as garbage, while readers keep reading it meanwhile.
#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <random>
#include <thread>

#include "platform/registry/registry.h"
#include "tests/platform/registry/registry_stress_pattern.h"
#include "tests/support/test_env.h"

using platform::RootKey;
using platform::TRegistry;

namespace {

constexpr int kMaxRounds = 40;
constexpr int kWantedKillsDuringWrite = 3;
constexpr auto kWriterStartTimeout = std::chrono::seconds(20);

std::filesystem::path HiveFolder() { return platform::RegistryHiveFolder(RootKey::CurrentUser); }

bool HasDamagedCopy() {
    for (const auto& entry : std::filesystem::directory_iterator(HiveFolder()))
        if (entry.path().filename().string().find(".damaged") != std::string::npos) return true;
    return false;
}

// Reads the stress values and tells whether each one present is whole.
bool StressValuesWhole(int32_t* round = nullptr) {
    TRegistry reg;
    if (!reg.OpenKeyReadOnly(stress::kKey)) return true;
    if (auto blob = reg.ReadBinary("Blob"); blob && !stress::IsWholeBlob(*blob)) return false;
    if (auto text = reg.ReadString("Text"); text && !stress::IsWholeText(*text)) return false;
    if (round) *round = reg.ReadInteger("Round").value_or(0);
    return true;
}

}  // namespace

TEST(RegistryKill, KilledWriterLeavesOldOrNewContent) {
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("Software\\Keep", true));
        ASSERT_TRUE(reg.WriteString("Precious", "stored before the writer ran"));
    }
    std::atomic<bool> readersStop{false};
    std::atomic<int> tornReads{0};
    std::atomic<long> reads{0};
    std::thread reader([&] {
        while (!readersStop) {
            if (!StressValuesWhole()) ++tornReads;
            ++reads;
        }
    });

    std::mt19937 random(12345);
    int killsDuringWrite = 0;
    int rounds = 0;
    const auto tempFile = HiveFolder() / "user.reg.tmp";
    for (; rounds < kMaxRounds && killsDuringWrite < kWantedKillsDuringWrite; ++rounds) {
        std::filesystem::remove(tempFile);
        fw_test::ChildProcess writer({REGISTRY_STRESS_WRITER});
        ASSERT_TRUE(writer.running());
        ASSERT_TRUE(fw_test::WaitUntil(
            [] {
                int32_t round = 0;
                return StressValuesWhole(&round) && round > 0;
            },
            kWriterStartTimeout));
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 60));
        ::kill(writer.pid(), SIGKILL);
        writer.Kill();  // reaps the killed writer
        // A temp file left behind means the kill came between the start of a write and its rename.
        if (std::filesystem::exists(tempFile)) ++killsDuringWrite;

        int32_t round = 0;
        EXPECT_TRUE(StressValuesWhole(&round)) << "round " << rounds;
        EXPECT_GT(round, 0);
        TRegistry keep;
        ASSERT_TRUE(keep.OpenKeyReadOnly("Software\\Keep")) << "round " << rounds;
        EXPECT_EQ(keep.ReadString("Precious"), "stored before the writer ran");
    }
    readersStop = true;
    reader.join();

    std::printf("%d of %d kills landed inside a write; %ld reads meanwhile\n", killsDuringWrite, rounds, reads.load());
    EXPECT_GE(killsDuringWrite, 1) << "no kill landed inside a write in " << rounds << " rounds";
    EXPECT_EQ(tornReads, 0) << "of " << reads << " reads";
    // The next write after the kills replaces the file normally: nothing was damaged.
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(stress::kKey, true));
    EXPECT_TRUE(reg.WriteInteger("Round", 0));
    EXPECT_FALSE(HasDamagedCopy());
}
