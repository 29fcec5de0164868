#include <gtest/gtest.h>

#include "app/archive/ArchiveGuard.h"
#include "engine/settings/settings_store.h"
#include "tests/app/archive/archive_fixture.h"
#include "tests/app/archive/fake_archive_host.h"

using namespace archive_test;

namespace {

constexpr uint64_t kGb = 1024ull * 1024ull * 1024ull;

struct ArchiveGuardTest : ::testing::Test {
    void SetUp() override {
        fs::create_directories(archive);
        Configure(2, engine::kArchivePruneByCount, 3);
    }
    void Configure(int minDiskSpace, uint8_t limit, int files) {
        engine::UpdateSettings([&](engine::TSettings& s) {
            s.ArchiveDir = archive.string() + "/";
            s.MinDiskSpace = minDiskSpace;
            s.ArchiveLimit = limit;
            s.ArchiveFile = files;
            s.ArchiveSize = 1000;
        });
    }
    std::vector<std::string> LogTexts() {
        std::vector<std::string> texts;
        for (const auto& e : log->TakeAll()) {
            EXPECT_EQ(e.Level, engine::kLogError) << e.Text;
            texts.push_back(e.Text);
        }
        return texts;
    }

    fw_test::TempDir dir;
    fs::path archive = dir / "Archive";
    std::shared_ptr<TFakeArchiveHost> host = std::make_shared<TFakeArchiveHost>(std::vector<int32_t>{0, 3, 12});
    std::shared_ptr<engine::TFakeFreeSpace> freeSpace = std::make_shared<engine::TFakeFreeSpace>(50 * kGb);
    std::shared_ptr<engine::TLogList> log = std::make_shared<engine::TLogList>();
    app::TArchiveGuard guard{host, freeSpace, log};
};

TEST_F(ArchiveGuardTest, DiskGuardThreshold) {
    struct Case {
        const char* name;
        int minDiskSpace;
        uint64_t freeBytes;
        bool stops;
    };
    const Case cases[] = {
        {"2 GB minimum, 2.9 GB free counts as 2", 2, kGb * 29 / 10, true},
        {"2 GB minimum, 3 GB free", 2, 3 * kGb, false},
        {"minimum 0 on a full drive", 0, 0, true},
        {"minimum 0 with a little space", 0, kGb - 1, true},
        {"minimum 0 with 1 GB", 0, kGb, false},
        {"negative minimum never stops", -1, 0, false},
    };
    for (const Case& c : cases) {
        Configure(c.minDiskSpace, engine::kArchivePruneByCount, 3);
        freeSpace->Set(c.freeBytes);
        const size_t stopsBefore = host->Stops().size();
        const app::TArchivePassOutcome outcome = guard.RunPass();
        EXPECT_EQ(outcome == app::TArchivePassOutcome::CapturesStopped, c.stops) << c.name;
        EXPECT_EQ(host->Stops().size(), stopsBefore + (c.stops ? 1 : 0)) << c.name;
        LogTexts();
    }
}

TEST_F(ArchiveGuardTest, LowSpaceStopsEveryCaptureEveryPassAndDoesNotPrune) {
    MakeSnapshots(archive / "cap", 10);
    freeSpace->Set(kGb);
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_EQ(guard.RunPass(), app::TArchivePassOutcome::CapturesStopped);
        EXPECT_EQ(LogTexts(), (std::vector<std::string>{
                                  "[captrure_idx:0] too little disk space - capture must be stopped!",
                                  "[captrure_idx:3] too little disk space - capture must be stopped!",
                                  "[captrure_idx:12] too little disk space - capture must be stopped!"}));
    }
    EXPECT_EQ(host->Stops(), (std::vector<std::vector<int32_t>>{{0, 3, 12}, {0, 3, 12}}));
    EXPECT_EQ(CountIn(archive / "cap"), 10u);
}

TEST_F(ArchiveGuardTest, EnoughSpacePrunesAsArchiveLimitSays) {
    MakeSnapshots(archive / "cap", 10);
    EXPECT_EQ(guard.RunPass(), app::TArchivePassOutcome::Pruned);
    EXPECT_EQ(CountIn(archive / "cap"), 3u);
    EXPECT_TRUE(host->Stops().empty());
    EXPECT_TRUE(LogTexts().empty());

    Configure(2, engine::kArchiveNoPruning, 0);
    EXPECT_EQ(guard.RunPass(), app::TArchivePassOutcome::NothingToDo);
    EXPECT_EQ(CountIn(archive / "cap"), 3u);
    freeSpace->Set(0);  // without pruning the guard still works
    EXPECT_EQ(guard.RunPass(), app::TArchivePassOutcome::CapturesStopped);
}

TEST_F(ArchiveGuardTest, FailedSpaceQueryStopsNothingAndIsLoggedOnce) {
    MakeSnapshots(archive / "cap", 10);
    freeSpace->Set(std::nullopt);
    for (int pass = 0; pass < 3; ++pass) EXPECT_EQ(guard.RunPass(), app::TArchivePassOutcome::Pruned);
    EXPECT_TRUE(host->Stops().empty());
    EXPECT_EQ(LogTexts(), (std::vector<std::string>{"[archive] free disk space of " + archive.string() + "/ cannot be read"}));
    EXPECT_EQ(CountIn(archive / "cap"), 3u);

    freeSpace->Set(50 * kGb);  // answered again: a later failure is logged again
    guard.RunPass();
    freeSpace->Set(std::nullopt);
    guard.RunPass();
    EXPECT_EQ(LogTexts().size(), 1u);
}

TEST_F(ArchiveGuardTest, MissingArchiveFolderIsReportedOnceNotEverySecond) {
    fs::remove_all(archive);
    for (int pass = 0; pass < 3; ++pass) guard.RunPass();
    const auto texts = LogTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], "[archive] " + archive.string() + "/ is not pruned : it is no folder");
    EXPECT_TRUE(host->Stops().empty()) << "the free space is asked of the folder's nearest parent";
}

}  // namespace
