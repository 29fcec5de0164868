// The snapshot thread against a picture source that hands out known pictures.
#include "engine/capture/workers/ImageThread.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "engine/capture/workers/CopyFileThread.h"
#include "engine/settings/program_state.h"
#include "tests/engine/capture/workers/image_thread_test_helpers.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using engine::TImageThread;
using fw_test::ReadFile;
using fw_test::WaitUntil;

constexpr const char* kTemplate =
    "<html><img src=\"<imgsrc>\"><a href=\"<IMGSRC>\">full</a>\n<script src=\"pcm-player.min.js\"></script></html>";
constexpr const char* kImageBase = "capimg_2130706433_50100";

class ImageThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        share_ = std::make_shared<engine::TCaptureStreamer>();
        share_->Protocol = engine::kShareProtocolHttp;
        share_->IpAddr = 2130706433;
        share_->Port = 50100;
        share_->SubDir = "pc1";
    }
    void TearDown() override {
        for (auto& t : threads_) t->RequestEnd();
        EXPECT_TRUE(fw_test::WaitForNoWorkers());
    }

    engine::TImageThreadParams Params(uint8_t format) {
        engine::TImageThreadParams p;
        p.CaptureIdx = 3;
        p.Streamer = share_;
        p.ArchiveFolder = (dir_ / "Archive" / "Cap_03").string() + "/";
        p.JpgQuality = 95;
        p.PngLevel = 6;
        p.LogList = log_.list;
        p.ImageFormat = format;
        p.OutDir = OutDir().string() + "/";
        p.Template = kTemplate;
        p.Graph = source_;
        p.Notifier = notifier_;
        return p;
    }
    std::shared_ptr<TImageThread> Start(engine::TImageThreadParams p) {
        threads_.push_back(TImageThread::Start(std::move(p)));
        return threads_.back();
    }
    fs::path OutDir() const { return dir_ / "htdocs" / "pc1"; }
    bool WaitForImages(int n, std::chrono::milliseconds timeout = 10s) {
        return WaitUntil([&] { return notifier_->Count(engine::kCnImageData) >= n; }, timeout);
    }

    fw_test::TempDir dir_;
    fw_test::LogRecorder log_;
    std::shared_ptr<fw_test::CountingNotifier> notifier_ = std::make_shared<fw_test::CountingNotifier>();
    std::shared_ptr<fw_test::FakeSnapshotSource> source_ =
        std::make_shared<fw_test::FakeSnapshotSource>(fw_test::TestPicture(64, 48));
    engine::PCaptureStreamer share_;
    std::vector<std::shared_ptr<TImageThread>> threads_;
};

TEST_F(ImageThreadTest, PublishesThePngAndThePageUnderTheSharesNames) {
    Start(Params(engine::kSnapshotPng));
    ASSERT_TRUE(WaitForImages(1));

    const std::string published = ReadFile(OutDir() / (std::string(kImageBase) + ".png"));
    EXPECT_EQ(fw_test::PngSize(published), std::make_pair(64, 48));
    EXPECT_EQ(fw_test::MaxChannelDifference(fw_test::DecodePng(published), fw_test::TestPicture(64, 48)), 0);
    EXPECT_EQ(ReadFile(OutDir() / kImageBase), published);  // the copy without extension
    EXPECT_EQ(ReadFile(OutDir() / "index.html"),
              "<html><img src=\"/pc1/capimg_2130706433_50100.png\"><a href=\"/pc1/capimg_2130706433_50100.png\">full</a>\n"
              "<script src=\"/pc1/pcm-player.min.js\"></script></html>");
    // No temporary file of the atomic writes is left behind.
    for (const auto& e : fs::directory_iterator(OutDir()))
        EXPECT_EQ(e.path().filename().string().find(".tmp-"), std::string::npos) << e.path();

    EXPECT_EQ(log_.Count("snapImg Start [idx: 3]"), 1);
    EXPECT_EQ(log_.Count("snapImg imgfn: [idx: 3] /pc1/capimg_2130706433_50100.png"), 1);
    EXPECT_EQ(log_.Count("============== index.html ==============="), 1);
    EXPECT_GE(log_.Count("snapImg : [64x48] - " + (OutDir() / (std::string(kImageBase) + ".png")).string()), 1);
    EXPECT_GE(log_.CountStartingWith("imgThrd end [idx: 3 / "), 1);
    EXPECT_EQ(log_.CountStartingWith("imgThrd GENERAL ERROR", engine::kLogError), 0);
    EXPECT_EQ(notifier_->NonZeroLParams(), 0);
}

TEST_F(ImageThreadTest, MirroredShareAddressesTheHostFolderAndCopiesItsFileList) {
    share_->FtpActive = true;
    share_->FtpHostDir = "live/";
    share_->UseFileList = true;
    fw_test::MakeFile(dir_ / "pages" / "pcm-player.min.js", "player");
    share_->FileList = {(dir_ / "pages" / "pcm-player.min.js").string(), (dir_ / "pages" / "gone.js").string()};
    Start(Params(engine::kSnapshotPng));
    ASSERT_TRUE(WaitForImages(1));
    const std::string page = ReadFile(OutDir() / "index.html");
    EXPECT_NE(page.find("src=\"/live/capimg_2130706433_50100.png\""), std::string::npos) << page;
    EXPECT_NE(page.find("src=\"/live/pcm-player.min.js\""), std::string::npos) << page;
    EXPECT_EQ(ReadFile(OutDir() / "pcm-player.min.js"), "player");
}

TEST_F(ImageThreadTest, JpegAndBmpSnapshotsCarryTheirFormat) {
    Start(Params(engine::kSnapshotJpeg));
    ASSERT_TRUE(WaitForImages(1));
    // Quality 95 exactly: the same bytes as our encoder at 95 writes for the picture.
    engine::TJpegEncoder reference(95);
    ASSERT_TRUE(reference.Encode(fw_test::TestPicture(64, 48)));
    EXPECT_EQ(ReadFile(OutDir() / (std::string(kImageBase) + ".jpg")), std::string(reference.Bytes()));
    threads_.back()->RequestEnd();
    ASSERT_TRUE(fw_test::WaitForNoWorkers());

    Start(Params(engine::kSnapshotBmp));
    ASSERT_TRUE(WaitForImages(2));
    const std::string bmp = ReadFile(OutDir() / (std::string(kImageBase) + ".bmp"));
    platform::TBitmap back;
    ASSERT_TRUE(platform::DecodeBmp(reinterpret_cast<const uint8_t*>(bmp.data()), bmp.size(), back));
    EXPECT_EQ(fw_test::MaxChannelDifference(back, fw_test::TestPicture(64, 48)), 0);
}

TEST_F(ImageThreadTest, ADeletedPageComesBackWithinASecond) {
    Start(Params(engine::kSnapshotPng));
    ASSERT_TRUE(WaitForImages(1));
    const std::string page = ReadFile(OutDir() / "index.html");
    fs::remove(OutDir() / "index.html");
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(OutDir() / "index.html"); }, 2500ms));
    EXPECT_EQ(ReadFile(OutDir() / "index.html"), page);
}

TEST_F(ImageThreadTest, ArchiveCopiesAreNamedByTheSecond) {
    auto p = Params(engine::kSnapshotPng);
    p.Archive = true;
    auto thread = Start(p);
    ASSERT_TRUE(thread->Archive());
    ASSERT_TRUE(WaitForImages(3));
    thread->RequestEnd();
    ASSERT_TRUE(fw_test::WaitForNoWorkers());

    // "capimg_" + yymmdd + "_" + hhnnss + ".png"
    auto archiveName = [](const std::string& n) {
        if (n.size() != 24 || n.rfind("capimg_", 0) != 0 || n[13] != '_' || n.substr(20) != ".png") return false;
        for (size_t i : {7, 8, 9, 10, 11, 12, 14, 15, 16, 17, 18, 19})
            if (n[i] < '0' || n[i] > '9') return false;
        return true;
    };
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir_ / "Archive" / "Cap_03")) {
        EXPECT_TRUE(archiveName(e.path().filename().string())) << e.path();
        EXPECT_TRUE(fw_test::HasPngSignature(ReadFile(e.path())));
        ++files;
    }
    EXPECT_GE(files, 2);  // about one a second; two in one second share a name
    EXPECT_LE(files, 3);
}

TEST_F(ImageThreadTest, AnArchiveFolderThatCannotBeMadeTurnsArchivingOffSilently) {
    fw_test::MakeFile(dir_ / "Archive", "a file where the folder should be");
    auto p = Params(engine::kSnapshotPng);
    p.Archive = true;
    auto thread = Start(p);
    EXPECT_FALSE(thread->Archive());
    ASSERT_TRUE(WaitForImages(1));
    EXPECT_EQ(log_.CountStartingWith("imgThrd GENERAL ERROR"), 0);
}

TEST_F(ImageThreadTest, WithoutPicturesNothingIsWrittenAndPassesComeEvery100Ms) {
    source_->Set({});
    Start(Params(engine::kSnapshotPng));
    std::this_thread::sleep_for(1000ms);
    EXPECT_GE(source_->grabs.load(), 5);
    EXPECT_LE(source_->grabs.load(), 12);
    EXPECT_FALSE(fs::exists(OutDir() / "index.html"));
    EXPECT_EQ(log_.CountStartingWith("imgThrd start"), 0);
    EXPECT_EQ(log_.CountStartingWith("imgThrd GENERAL ERROR"), 0);
    EXPECT_EQ(notifier_->Count(engine::kCnImageData), 0);
}

TEST_F(ImageThreadTest, WithoutAGraphTheThreadOnlyWaits) {
    auto p = Params(engine::kSnapshotPng);
    p.Graph = nullptr;
    Start(p);
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(fs::exists(OutDir() / "index.html"));
    EXPECT_EQ(log_.Count("snapImg Start [idx: 3]"), 1);
    EXPECT_EQ(log_.CountStartingWith("imgThrd"), 0);
}

TEST_F(ImageThreadTest, FramesAreDroppedWhileTheShareFolderIsMissing) {
    source_->Set({});
    Start(Params(engine::kSnapshotPng));
    fs::remove_all(OutDir());
    source_->Set(fw_test::TestPicture(8, 8));
    ASSERT_TRUE(log_.WaitForPrefix("imgThrd start [idx: 3]", 2));
    EXPECT_FALSE(fs::exists(OutDir()));
    EXPECT_EQ(notifier_->Count(engine::kCnImageData), 0);
    fs::create_directories(OutDir());
    ASSERT_TRUE(WaitForImages(1));
    EXPECT_TRUE(fs::exists(OutDir() / "index.html"));
}

TEST_F(ImageThreadTest, AnEmptyShareFolderNeverMeansTheWorkingFolder) {
    const fs::path cwd = fs::current_path();
    fs::current_path(dir_.path());
    auto p = Params(engine::kSnapshotPng);
    p.OutDir = "";
    auto thread = Start(p);
    ASSERT_TRUE(log_.WaitForPrefix("imgThrd start [idx: 3]", 2));
    thread->RequestEnd();
    ASSERT_TRUE(fw_test::WaitForNoWorkers());
    fs::current_path(cwd);
    EXPECT_FALSE(fs::exists(dir_ / "index.html"));
    EXPECT_FALSE(fs::exists(dir_ / (std::string(kImageBase) + ".png")));
    EXPECT_TRUE(fs::exists(dir_.path()));
}

TEST_F(ImageThreadTest, AFailedWriteIsLoggedAndThePublishedFileKeepsItsContent) {
    Start(Params(engine::kSnapshotPng));
    ASSERT_TRUE(WaitForImages(1));
    const fs::path published = OutDir() / (std::string(kImageBase) + ".png");
    const std::string before = ReadFile(published);
    // The temporary name becomes a folder: the next save fails.
    fs::remove(OutDir() / kImageBase);
    fs::create_directories(OutDir() / kImageBase / "blocker");
    const int images = notifier_->Count(engine::kCnImageData);
    ASSERT_TRUE(log_.WaitForPrefix("imgThrd GENERAL ERROR [idx: 3] "));
    EXPECT_EQ(log_.CountStartingWith("imgThrd GENERAL ERROR [idx: 3] ", engine::kLogError), 1);
    std::this_thread::sleep_for(1500ms);
    // A fault that repeats is logged about once a second, not in a burst.
    EXPECT_LE(log_.CountStartingWith("imgThrd GENERAL ERROR"), 3);
    EXPECT_LE(notifier_->Count(engine::kCnImageData), images + 1);
    EXPECT_EQ(ReadFile(published), before);
}

TEST_F(ImageThreadTest, NothingIsLoggedWhileTheProgramCloses) {
    engine::AppClosing = true;
    Start(Params(engine::kSnapshotPng));
    const bool wrote = WaitForImages(1);
    threads_.back()->RequestEnd();
    const bool ended = fw_test::WaitForNoWorkers();
    engine::AppClosing = false;
    ASSERT_TRUE(wrote);
    ASSERT_TRUE(ended);
    EXPECT_TRUE(log_.Entries().empty());
}

TEST_F(ImageThreadTest, EndingIsAskedWithoutWaitingAndDeletesTheFolder) {
    auto thread = Start(Params(engine::kSnapshotPng));
    ASSERT_TRUE(WaitForImages(1));
    const auto asked = std::chrono::steady_clock::now();
    thread->RequestEnd();
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 50ms);
    ASSERT_TRUE(WaitUntil([&] { return thread->Ended(); }, 5s));
    EXPECT_EQ(log_.Count("snapImg End [idx: 3]"), 1);
    EXPECT_FALSE(fs::exists(OutDir()));
    EXPECT_TRUE(fs::exists(dir_ / "htdocs"));
}

// The job's quick stop and start: each start claims the folder, empties it for video (an HLS
// playlist appears) and starts new workers while the old ones are still ending.
TEST_F(ImageThreadTest, QuickRestartsKeepTheNewRunsFolder) {
    const std::string folder = OutDir().string() + "/";
    std::vector<std::shared_ptr<engine::IShareWorker>> running;
    for (int run = 0; run < 10; ++run) {
        for (auto& w : running) w->RequestEnd();  // Stop: no waiting
        running.clear();
        engine::ClaimShareFolder(folder);  // Start, before it prepares the folder
        fs::create_directories(OutDir());
        fw_test::MakeFile(OutDir() / "stream.m3u8", "playlist " + std::to_string(run));
        engine::TCopyFileThreadParams fileParams;
        fileParams.Streamer = share_;
        fileParams.LogList = log_.list;
        fileParams.FileFmt = 4;
        fileParams.SourceDir = (dir_ / "drop").string();
        fileParams.OutDir = folder;
        running.push_back(engine::TCopyFileThread::Start(fileParams));
        running.push_back(Start(Params(engine::kSnapshotPng)));
        std::this_thread::sleep_for(std::chrono::milliseconds(20 * run));
    }
    ASSERT_TRUE(WaitUntil([&] { return engine::TWorkerThread::RunningCount() == 2; }, 10s));
    ASSERT_TRUE(WaitForImages(1));
    EXPECT_EQ(ReadFile(OutDir() / "stream.m3u8"), "playlist 9");
    EXPECT_TRUE(fs::exists(OutDir() / "index.html"));

    for (auto& w : running) w->RequestEnd();
    running.clear();
    threads_.clear();
    ASSERT_TRUE(fw_test::WaitForNoWorkers());
    EXPECT_FALSE(fs::exists(OutDir()));  // the last run's snapshot thread takes its folder with it
    EXPECT_EQ(log_.Count("snapImg End [idx: 3]"), 10);
}

TEST(SnapshotPauseTest, TheSecondLessTheTimeUnderTheLockAtLeast100Ms) {
    struct Case {
        int elapsed;
        int pause;
    };
    for (const Case c : {Case{-5, 100}, Case{0, 100}, Case{1, 999}, Case{300, 700}, Case{900, 100}, Case{901, 100},
                         Case{5000, 100}})
        EXPECT_EQ(engine::SnapshotPause(std::chrono::milliseconds(c.elapsed)).count(), c.pause) << c.elapsed;
}

}  // namespace
