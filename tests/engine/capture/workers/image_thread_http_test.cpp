// Snapshots served by the embedded web server while the snapshot thread keeps replacing them.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "engine/capture/workers/ImageThread.h"
#include "tests/engine/capture/workers/image_thread_test_helpers.h"
#include "tests/engine/http/http_server_fixture.h"

namespace {

using namespace std::chrono_literals;

class ImageThreadHttpTest : public fw_test::HttpServerFixture {
protected:
    void TearDown() override {
        if (thread_) thread_->RequestEnd();
        EXPECT_TRUE(fw_test::WaitForNoWorkers());
        HttpServerFixture::TearDown();
    }
    std::shared_ptr<engine::TImageThread> thread_;
};

TEST_F(ImageThreadHttpTest, ClientsAlwaysGetAWholeImageAndTheFilledPage) {
    auto server = StartServer();
    auto share = std::make_shared<engine::TCaptureStreamer>();
    share->IpAddr = 2130706433;
    share->Port = 50100;
    share->SubDir = "pc1";
    auto source = std::make_shared<fw_test::FakeSnapshotSource>(fw_test::TestPicture(320, 200));
    auto notifier = std::make_shared<fw_test::CountingNotifier>();
    fw_test::LogRecorder log;

    engine::TImageThreadParams p;
    p.CaptureIdx = 1;
    p.Streamer = share;
    p.PngLevel = 1;
    p.LogList = log.list;
    p.ImageFormat = engine::kSnapshotPng;
    p.OutDir = (Root() / "pc1").string() + "/";
    p.Template = "<html><img src=\"<imgsrc>\"></html>";
    p.Graph = source;
    p.Notifier = notifier;
    thread_ = engine::TImageThread::Start(p);
    ASSERT_TRUE(fw_test::WaitUntil([&] { return notifier->Count(engine::kCnImageData) >= 1; }, 10s));

    const fw_test::THttpAnswer page = fw_test::Request(port_, "GET", "/pc1/");
    ASSERT_EQ(page.Status, 200);
    EXPECT_EQ(page.Body, "<html><img src=\"/pc1/capimg_2130706433_50100.png\"></html>");

    // The picture changes size every few grabs while clients keep asking for it: every answer is a
    // whole PNG of one of the two sizes.
    std::atomic<bool> done{false};
    std::thread changer([&] {
        for (int i = 0; !done; ++i) {
            source->Set(fw_test::TestPicture(i % 2 ? 160 : 320, i % 2 ? 100 : 200));
            std::this_thread::sleep_for(150ms);
        }
    });
    int answers = 0;
    const int imagesBefore = notifier->Count(engine::kCnImageData);
    const auto until = std::chrono::steady_clock::now() + 3s;
    while (std::chrono::steady_clock::now() < until) {
        const fw_test::THttpAnswer image = fw_test::Request(port_, "GET", "/pc1/capimg_2130706433_50100.png");
        if (image.Status != 200) continue;  // the server declines a file that is in use
        ++answers;
        const auto size = fw_test::PngSize(image.Body);
        EXPECT_TRUE(size == std::make_pair(320, 200) || size == std::make_pair(160, 100));
        const platform::TBitmap decoded = fw_test::DecodePng(image.Body);
        EXPECT_EQ(decoded.Width, size.first) << "a PNG that does not decode";
    }
    done = true;
    changer.join();
    EXPECT_GE(answers, 3);
    EXPECT_GE(notifier->Count(engine::kCnImageData) - imagesBefore, 2);
}

}  // namespace
