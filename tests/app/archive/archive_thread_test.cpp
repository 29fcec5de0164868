#include <gtest/gtest.h>

#include <thread>

#include "app/archive/ArchiveStopHandOver.h"
#include "app/archive/ArchiveThread.h"
#include "engine/settings/settings_store.h"
#include "tests/app/archive/archive_fixture.h"
#include "tests/app/archive/fake_archive_host.h"
#include "tests/platform/ui/qt_test_app.h"
#include "tests/support/event_pump.h"

using fw_test::PumpFor;
using fw_test::PumpUntil;

using namespace archive_test;
using namespace std::chrono_literals;

namespace {

constexpr std::chrono::milliseconds kFastPassMs{20};

struct ArchiveThreadTest : ::testing::Test {
    void SetUp() override {
        TestApp();
        fs::create_directories(archive);
        engine::UpdateSettings([&](engine::TSettings& s) {
            s.ArchiveDir = archive.string();
            s.MinDiskSpace = 2;
            s.ArchiveLimit = engine::kArchivePruneByCount;
            s.ArchiveFile = 2;
        });
    }
    fw_test::TempDir dir;
    fs::path archive = dir / "Archive";
    std::shared_ptr<engine::TFakeFreeSpace> freeSpace = std::make_shared<engine::TFakeFreeSpace>(1ull << 40);
    std::shared_ptr<engine::TLogList> log = std::make_shared<engine::TLogList>();
};

TEST_F(ArchiveThreadTest, DiskGuardStopReachesTheUserInterfaceThread) {
    std::vector<std::vector<int32_t>> stops;
    const auto uiThread = std::this_thread::get_id();
    bool stoppedOnUiThread = true;
    app::TArchiveStopHandOver handOver([&](const std::vector<int32_t>& indices) {
        stoppedOnUiThread = stoppedOnUiThread && std::this_thread::get_id() == uiThread;
        stops.push_back(indices);
    });
    handOver.SetCaptureIndices({4, 7});
    freeSpace->Set(1ull << 30);  // 1 GB, below the minimum of 2
    app::TArchiveThread thread(std::make_shared<app::TArchiveGuard>(handOver.Host(), freeSpace, log), kFastPassMs);

    ASSERT_TRUE(PumpUntil([&] { return !stops.empty(); }, 5s));
    EXPECT_TRUE(stoppedOnUiThread);
    EXPECT_EQ(stops.front(), (std::vector<int32_t>{4, 7}));
    EXPECT_TRUE(fw_test::WaitUntil([&] { return log->Count() >= 4; }, 5s)) << "two lines per pass, every pass";

    thread.RequestStop();
    EXPECT_TRUE(thread.WaitForEnd(2s));
    PumpFor(50ms);
    const size_t stopsAtEnd = stops.size();
    PumpFor(100ms);
    EXPECT_EQ(stops.size(), stopsAtEnd) << "an ended thread asks for nothing more";
}

TEST_F(ArchiveThreadTest, PrunesEachPassAndEndsAtOnceWhenAsked) {
    auto host = std::make_shared<TFakeArchiveHost>(std::vector<int32_t>{0});
    app::TArchiveThread thread(std::make_shared<app::TArchiveGuard>(host, freeSpace, log), kFastPassMs);
    MakeSnapshots(archive / "cap", 6);
    EXPECT_TRUE(fw_test::WaitUntil([&] { return CountIn(archive / "cap") == 2; }, 5s));
    MakeSnapshots(archive / "cap2", 6);
    EXPECT_TRUE(fw_test::WaitUntil([&] { return CountIn(archive / "cap2") == 2; }, 5s));
    EXPECT_TRUE(host->Stops().empty());
    thread.RequestStop();
    EXPECT_TRUE(thread.WaitForEnd(2s));

    // A long sleep between passes does not hold the end back.
    app::TArchiveThread slow(std::make_shared<app::TArchiveGuard>(host, freeSpace, log), 60s);
    std::this_thread::sleep_for(50ms);
    const auto asked = std::chrono::steady_clock::now();
    slow.RequestStop();
    EXPECT_TRUE(slow.WaitForEnd(2s));
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 1s);
}

TEST_F(ArchiveThreadTest, HostOutlivesTheHandOverAndDropsLateRequests) {
    std::shared_ptr<app::IArchiveHost> host;
    int calls = 0;
    {
        app::TArchiveStopHandOver handOver([&](const std::vector<int32_t>&) { ++calls; });
        handOver.SetCaptureIndices({1});
        host = handOver.Host();
        host->StopCapturesForDiskSpace({1});
        host->StopCapturesForDiskSpace({1, 2});  // coalesced with the first: one call
        ASSERT_TRUE(PumpUntil([&] { return calls == 1; }, 2s));
        PumpFor(30ms);
        EXPECT_EQ(calls, 1);
    }
    EXPECT_EQ(host->CaptureIndices(), (std::vector<int32_t>{1}));
    host->StopCapturesForDiskSpace({1});
    PumpFor(30ms);
    EXPECT_EQ(calls, 1);
}

TEST_F(ArchiveThreadTest, OwnerThatLetsGoAsksTheThreadToEnd) {
    auto host = std::make_shared<TFakeArchiveHost>(std::vector<int32_t>{0});
    std::weak_ptr<TFakeArchiveHost> watch = host;
    {
        app::TArchiveThread thread(std::make_shared<app::TArchiveGuard>(host, freeSpace, log), 60s);
        host.reset();
    }
    // The thread ends by itself and lets go of the guard, and with it the host.
    EXPECT_TRUE(fw_test::WaitUntil([&] { return watch.expired(); }, 3s));
}

}  // namespace
