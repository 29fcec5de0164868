#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>

#include "app/log/DailyLogFile.h"
#include "app/log/LogQueue.h"
#include "app/log/MainLog.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "tests/support/test_env.h"

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kGb = 1024ull * 1024ull * 1024ull;

std::chrono::system_clock::time_point LocalTime(int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = 2026 - 1900;
    tm.tm_mon = 11;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&tm));
}

struct MainLogTest : ::testing::Test {
    void SetUp() override {
        UseLogDir(dir / "Log");
        engine::UpdateSettings([](engine::TSettings& s) {
            s.MinDiskSpace = 2;
            s.LogWarning = s.LogError = s.LogInfo = true;
        });
    }
    void UseLogDir(const fs::path& folder) {
        engine::UpdateSettings([&](engine::TSettings& s) { s.LogDir = folder.string() + "/"; });
    }
    std::string FileOf(const fs::path& folder, int day) {
        return fw_test::ReadFile(folder / app::DailyLogFileName(LocalTime(day, 12, 0, 0)));
    }
    std::vector<std::string> WindowTexts() const {
        std::vector<std::string> texts;
        for (const auto& line : log.Lines().Lines()) texts.push_back(line.Text);
        return texts;
    }

    fw_test::TempDir dir;
    std::chrono::system_clock::time_point now = LocalTime(9, 10, 0, 0);
    std::shared_ptr<engine::TFakeFreeSpace> freeSpace = std::make_shared<engine::TFakeFreeSpace>(100 * kGb);
    app::TMainLog log{freeSpace, [this] { return now; }};
};

TEST_F(MainLogTest, TextGoesToWindowAndDailyFileWithCrLf) {
    const app::TLogWindowUpdate update = log.WriteLines("first\r\n\r\nthird", engine::kLogError);
    EXPECT_EQ(update.Added, 2u);
    EXPECT_EQ(update.RemovedFromFront, 0u);
    EXPECT_EQ(WindowTexts(), (std::vector<std::string>{"10:00:00 [err] first", "      third"}));
    EXPECT_EQ(log.Lines().Lines().back().Level, engine::kLogError);
    EXPECT_EQ(FileOf(dir / "Log", 9), "10:00:00 [err] first\r\n      \r\n      third\r\n");
    EXPECT_EQ(log.StatusText(), "Log-File : Framewick_2026_12_09.log");
}

TEST_F(MainLogTest, EmptyTextWritesNothing) {
    const app::TLogWindowUpdate update = log.WriteLines("", engine::kLogInfo);
    EXPECT_EQ(update.Added, 0u);
    EXPECT_TRUE(log.Lines().Lines().empty());
    EXPECT_FALSE(fs::exists(dir / "Log"));
}

TEST_F(MainLogTest, SwitchedOffLevelsAreDroppedByWriteLog) {
    engine::UpdateSettings([](engine::TSettings& s) { s.LogInfo = false; });
    log.WriteLog("info", engine::kLogInfo);
    log.WriteLog("system", engine::kLogSystem);
    EXPECT_EQ(WindowTexts(), (std::vector<std::string>{"10:00:00 [sys] system"}));
    EXPECT_EQ(FileOf(dir / "Log", 9), "10:00:00 [sys] system\r\n");
}

TEST_F(MainLogTest, WindowKeepsTheLast500LinesAndTheFileKeepsAll) {
    for (int i = 1; i <= 500; ++i) log.WriteLines("line " + std::to_string(i), engine::kLogInfo);
    const app::TLogWindowUpdate update = log.WriteLines("line 501", engine::kLogInfo);
    EXPECT_EQ(update.Added, 1u);
    EXPECT_EQ(update.RemovedFromFront, 1u);
    ASSERT_EQ(log.Lines().Lines().size(), app::kMaxLogWindowLines);
    EXPECT_EQ(log.Lines().Lines().front().Text, "10:00:00 [inf] line 2");
    EXPECT_EQ(log.Lines().Lines().back().Text, "10:00:00 [inf] line 501");
    const std::string file = FileOf(dir / "Log", 9);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 501);
    EXPECT_EQ(file.rfind("10:00:00 [inf] line 1\r\n", 0), 0u);
}

TEST_F(MainLogTest, FrozenWindowStillWritesTheFileAndClearKeepsIt) {
    log.WriteLines("shown", engine::kLogInfo);
    log.SetOutputRunning(false);
    log.WriteLines("file only", engine::kLogInfo);
    EXPECT_EQ(WindowTexts(), (std::vector<std::string>{"10:00:00 [inf] shown"}));
    log.Clear();
    EXPECT_TRUE(log.Lines().Lines().empty());
    log.SetOutputRunning(true);
    log.WriteLines("again", engine::kLogInfo);
    EXPECT_EQ(WindowTexts(), (std::vector<std::string>{"10:00:00 [inf] again"}));
    EXPECT_EQ(FileOf(dir / "Log", 9), "10:00:00 [inf] shown\r\n10:00:00 [inf] file only\r\n10:00:00 [inf] again\r\n");
}

TEST_F(MainLogTest, FirstLineAfterMidnightOpensTheNewDaysFileAndFolder) {
    now = LocalTime(9, 23, 59, 59);
    log.WriteLines("late", engine::kLogInfo);
    UseLogDir(dir / "new" / "deeper");  // a LogDir changed by the settings dialog counts the same
    now = LocalTime(10, 0, 0, 1);
    log.WriteLines("early", engine::kLogInfo);
    EXPECT_EQ(FileOf(dir / "Log", 9), "23:59:59 [inf] late\r\n");
    EXPECT_EQ(FileOf(dir / "new" / "deeper", 10), "00:00:01 [inf] early\r\n");
    EXPECT_EQ(log.LogFileName(), (dir / "new" / "deeper" / "Framewick_2026_12_10.log").string());
}

TEST_F(MainLogTest, ExistingFileIsAppendedTo) {
    fs::create_directories(dir / "Log");
    fw_test::WriteFile(dir / "Log" / "Framewick_2026_12_09.log", "earlier run\r\n");
    log.WriteLines("this run", engine::kLogInfo);
    EXPECT_EQ(FileOf(dir / "Log", 9), "earlier run\r\n10:00:00 [inf] this run\r\n");
}

TEST_F(MainLogTest, LowDiskSpaceStopsTheFileOnceWithANoticeAndResumes) {
    log.WriteLines("before", engine::kLogInfo);
    freeSpace->Set(kGb * 19 / 10);  // 1.9 GB counts as 1
    log.CheckFreeSpace();
    log.CheckFreeSpace();
    EXPECT_FALSE(log.FileOutput());
    log.WriteLines("while full", engine::kLogInfo);
    freeSpace->Set(std::nullopt);  // a failed query changes nothing
    log.CheckFreeSpace();
    EXPECT_FALSE(log.FileOutput());
    freeSpace->Set(2 * kGb);
    log.CheckFreeSpace();
    EXPECT_TRUE(log.FileOutput());
    log.WriteLines("after", engine::kLogInfo);
    EXPECT_EQ(FileOf(dir / "Log", 9),
              "10:00:00 [inf] before\r\nDisk full : lower than 2GB free\r\n10:00:00 [inf] after\r\n");
    EXPECT_EQ(WindowTexts().size(), 3u) << "the window goes on while the file stops";
}

TEST_F(MainLogTest, UnwritableLogFolderIsShownOnceAndTheWindowGoesOn) {
    fw_test::WriteFile(dir / "blocker", "a file where the folder belongs");
    UseLogDir(dir / "blocker" / "Log");
    log.WriteLines("one", engine::kLogInfo);
    log.WriteLines("two", engine::kLogInfo);
    const auto texts = WindowTexts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], "10:00:00 [inf] one");
    EXPECT_NE(texts[1].find("[err] Log-File " + (dir / "blocker" / "Log").string()), std::string::npos) << texts[1];
    EXPECT_NE(texts[1].find("cannot be written"), std::string::npos);
    EXPECT_EQ(texts[2], "10:00:00 [inf] two");

    UseLogDir(dir / "Log");  // the folder is back: writing resumes, and a later failure is shown again
    log.WriteLines("three", engine::kLogInfo);
    EXPECT_EQ(FileOf(dir / "Log", 9), "10:00:00 [inf] three\r\n");
}

TEST_F(MainLogTest, QueueKeeps100AndDrainWritesThemInOrder) {
    engine::TLogList queue;
    int accepted = 0;
    for (int i = 0; i < 150; ++i) accepted += app::QueueLogEntry(queue, "entry " + std::to_string(i), engine::kLogInfo);
    EXPECT_EQ(accepted, 100);
    const app::TLogWriter intoLog = [this](const std::string& text, uint8_t level) { log.WriteLog(text, level); };
    app::DrainLogQueue(queue, intoLog);
    EXPECT_EQ(queue.Count(), 0u);
    ASSERT_EQ(log.Lines().Lines().size(), 100u);
    EXPECT_EQ(log.Lines().Lines().front().Text, "10:00:00 [inf] entry 0");
    EXPECT_EQ(log.Lines().Lines().back().Text, "10:00:00 [inf] entry 99");

    app::QueueLogEntry(queue, "while closing", engine::kLogInfo);
    engine::AppClosing = true;
    app::DrainLogQueue(queue, intoLog);
    engine::AppClosing = false;
    EXPECT_EQ(queue.Count(), 1u);
}

}  // namespace
