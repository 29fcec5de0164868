// Snapshots end to end under the X server: the capture graph (real screen-capture filter over
// xcb, real sink filter) runs, the snapshot thread publishes its pictures into a web server's folder
// and the web server serves them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/capture/job/GraphSnapshotSource.h"
#include "engine/capture/workers/ImageThread.h"
#include "platform/com/com.h"
#include "tests/engine/capture/workers/image_thread_test_helpers.h"
#include "tests/engine/http/http_server_fixture.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ModuleBesideTest(const std::string& name) {
    return (fs::read_symlink("/proc/self/exe").parent_path() / name).string();
}

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr auto kPicturesWithin = 30s;  // a thread of the lowest priority on a busy machine

// The time under the lock of each pass that wrote a picture, from its "imgThrd end [idx: i / t msec]" line.
std::vector<std::chrono::milliseconds> TimesUnderTheLock(fw_test::LogRecorder& log, int captureIdx) {
    const std::string prefix = "imgThrd end [idx: " + std::to_string(captureIdx) + " / ";
    std::vector<std::chrono::milliseconds> times;
    for (const auto& entry : log.Entries())
        if (entry.Text.rfind(prefix, 0) == 0) times.emplace_back(std::stoi(entry.Text.substr(prefix.size())));
    return times;
}

class ImageThreadGraphTest : public fw_test::HttpServerFixture {
protected:
    static void SetUpTestSuite() {
        CoInitialize();
        ASSERT_EQ(RegisterServerLibrary(ModuleBesideTest("libFwScreenCapture.so")), S_OK);
        ASSERT_EQ(RegisterServerLibrary(FW_SINK_MODULE), S_OK);
    }
    static void TearDownTestSuite() { CoUninitialize(); }

    void SetUp() override {
        HttpServerFixture::SetUp();
        if (!fw_test::HasDisplay()) GTEST_SKIP() << "no X server";
        engine::TFgSpreadInputParams params;
        params.UseScreenFilter = 1;
        params.SinkPort = fw_test::FreeTcpPort();
        params.SinkInterface = siTcpServer;
        params.ScreenCapture.CaptureMode = 2;
        params.ScreenCapture.Width = kWidth;
        params.ScreenCapture.Height = kHeight;
        params.ScreenCapture.FrameRate = 10;
        params.ScreenCapture.ScalePercent = 100;
        params.ScreenCapture.SnapshotOutput = 1;
        params.ScreenCapture.ImageFreq = 1;
        graph_ = std::make_shared<engine::TSpreadFilterGraph>(params);
        ASSERT_TRUE(graph_->Init());
        ASSERT_TRUE(graph_->Run());
        share_ = std::make_shared<engine::TCaptureStreamer>();
        share_->IpAddr = 2130706433;
        share_->Port = 50100;
        share_->SubDir = "pc1";
    }
    void TearDown() override {
        if (thread_) thread_->RequestEnd();
        EXPECT_TRUE(fw_test::WaitForNoWorkers());
        if (graph_) graph_->Shutdown();
        HttpServerFixture::TearDown();
    }

    engine::TImageThreadParams Params(uint8_t format) {
        engine::TImageThreadParams p;
        p.CaptureIdx = 4;
        p.Streamer = share_;
        p.Archive = true;
        p.ArchiveFolder = (dir_.path() / "Archive" / "Cap_04").string() + "/";
        p.JpgQuality = 80;
        p.PngLevel = 6;
        p.LogList = log_.list;
        p.ImageFormat = format;
        p.OutDir = (Root() / "pc1").string() + "/";
        p.Template = "<html><img src=\"<imgsrc>\"><script src=\"pcm-player.min.js\"></script></html>";
        p.Graph = std::make_shared<engine::TGraphSnapshotSource>(graph_);
        p.Notifier = notifier_;
        return p;
    }

    std::shared_ptr<engine::TSpreadFilterGraph> graph_;
    engine::PCaptureStreamer share_;
    std::shared_ptr<engine::TImageThread> thread_;
    fw_test::LogRecorder log_;
    std::shared_ptr<fw_test::CountingNotifier> notifier_ = std::make_shared<fw_test::CountingNotifier>();
};

TEST_F(ImageThreadGraphTest, PngSnapshotsComeAboutOnceASecondAndAreServed) {
    auto server = StartServer();
    thread_ = engine::TImageThread::Start(Params(engine::kSnapshotPng));
    // The thread runs at the lowest priority: on a busy machine its pictures come later, never sooner.
    ASSERT_TRUE(fw_test::WaitUntil([&] { return notifier_->Count(engine::kCnImageData) >= 4; }, kPicturesWithin));
    const auto posted = notifier_->Times(engine::kCnImageData);
    const auto underLock = TimesUnderTheLock(log_, 4);
    ASSERT_GE(underLock.size(), posted.size());
    // After each picture the thread waits the rest of the second it spent under the lock.
    for (size_t i = 1; i < posted.size(); ++i)
        EXPECT_GE(posted[i] - posted[i - 1], engine::SnapshotPause(underLock[i - 1])) << "picture " << i;

    const fw_test::THttpAnswer image = fw_test::Request(port_, "GET", "/pc1/capimg_2130706433_50100.png");
    ASSERT_EQ(image.Status, 200);
    EXPECT_EQ(fw_test::PngSize(image.Body), std::make_pair(kWidth, kHeight));
    const fw_test::THttpAnswer page = fw_test::Request(port_, "GET", "/pc1/index.html");
    ASSERT_EQ(page.Status, 200);
    EXPECT_EQ(page.Body,
              "<html><img src=\"/pc1/capimg_2130706433_50100.png\"><script src=\"/pc1/pcm-player.min.js\"></script></html>");

    // Two pictures in one second share an archive name: three copies may take more than three pictures.
    const fs::path archive = dir_.path() / "Archive" / "Cap_04";
    const auto archiveCopies = [&] {
        std::vector<fs::path> copies;
        for (const auto& e : fs::directory_iterator(archive))
            if (e.path().filename().string().find(".tmp-") == std::string::npos) copies.push_back(e.path());
        return copies;  // not the one the thread is writing
    };
    ASSERT_TRUE(fw_test::WaitUntil([&] { return archiveCopies().size() >= 3; }, kPicturesWithin));
    for (const fs::path& copy : archiveCopies()) {
        const std::string name = copy.filename().string();
        EXPECT_EQ(name.size(), std::string("capimg_yymmdd_hhnnss.png").size()) << name;
        EXPECT_EQ(name.rfind("capimg_", 0), 0u) << name;
        EXPECT_EQ(fw_test::PngSize(fw_test::ReadFile(copy)), std::make_pair(kWidth, kHeight));
    }
    EXPECT_EQ(log_.CountStartingWith("imgThrd GENERAL ERROR"), 0);

    thread_->RequestEnd();
    ASSERT_TRUE(fw_test::WaitForNoWorkers());
    EXPECT_FALSE(fs::exists(Root() / "pc1"));
    EXPECT_EQ(log_.Count("snapImg End [idx: 4]"), 1);
}

TEST_F(ImageThreadGraphTest, JpegSnapshotsOfTheScreen) {
    thread_ = engine::TImageThread::Start(Params(engine::kSnapshotJpeg));
    ASSERT_TRUE(fw_test::WaitUntil([&] { return notifier_->Count(engine::kCnImageData) >= 2; }, 10s));
    const std::string jpeg = fw_test::ReadFile(Root() / "pc1" / "capimg_2130706433_50100.jpg");
    ASSERT_TRUE(fw_test::HasJpegSoi(jpeg));
    const platform::TBitmap decoded = fw_test::DecodeJpeg(jpeg);
    EXPECT_EQ(std::make_pair(decoded.Width, decoded.Height), std::make_pair(kWidth, kHeight));
}

}  // namespace
