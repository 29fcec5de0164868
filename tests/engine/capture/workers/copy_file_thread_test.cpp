// The file-drop thread over a watched folder that receives BMP, JPEG, PNG and SVG files.
#include "engine/capture/workers/CopyFileThread.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "engine/settings/settings_store.h"
#include "engine/util/file_in_use.h"
#include "tests/engine/capture/workers/image_thread_test_helpers.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using engine::TCopyFileThread;
using fw_test::ReadFile;

constexpr const char* kImageBase = "capimg_2130706433_50100";

std::string BmpBytes(int w, int h) {
    const std::vector<uint8_t> b = platform::EncodeBmp(fw_test::TestPicture(w, h));
    return std::string(b.begin(), b.end());
}

class CopyFileThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedSettings_ = engine::Settings();
        share_ = std::make_shared<engine::TCaptureStreamer>();
        share_->IpAddr = 2130706433;
        share_->Port = 50100;
        share_->SubDir = "pc1";
        fs::create_directories(Drop());
    }
    void TearDown() override {
        for (auto& t : threads_) t->RequestEnd();
        EXPECT_TRUE(fw_test::WaitForNoWorkers());
        engine::PublishSettings(*savedSettings_);
    }

    engine::TCopyFileThreadParams Params(uint8_t fileFmt, bool deleteInput = true) {
        engine::TCopyFileThreadParams p;
        p.Streamer = share_;
        p.LogList = log_.list;
        p.DeleteInput = deleteInput;
        p.Freq = 1;
        p.FileFmt = fileFmt;
        p.SourceDir = Drop().string() + "/";
        p.OutDir = Out().string() + "/";
        p.Template = "<img src=\"<imgsrc>\"><script src=\"pcm-player.min.js\"></script>";
        p.Notifier = notifier_;
        return p;
    }
    std::shared_ptr<TCopyFileThread> Start(engine::TCopyFileThreadParams p) {
        threads_.push_back(TCopyFileThread::Start(std::move(p)));
        return threads_.back();
    }
    // Starts a thread and ends it after it ran passes passes.
    void RunPasses(engine::TCopyFileThreadParams p, int passes) {
        const int before = log_.CountStartingWith("thrdCopy End [");
        auto thread = Start(std::move(p));
        ASSERT_TRUE(log_.WaitForPrefix("thrdCopy End [", before + passes, 20s));
        thread->RequestEnd();
        ASSERT_TRUE(fw_test::WaitUntil([&] { return thread->Ended(); }, 10s));
    }
    // A dropped file, age seconds old (the newest-file search sees two-second steps).
    void Drop(const std::string& name, const std::string& bytes, int age = 0) {
        fw_test::MakeFile(Drop() / name, bytes);
        fs::last_write_time(Drop() / name, fs::file_time_type::clock::now() - std::chrono::seconds(age));
    }
    fs::path Drop() const { return dir_ / "drop"; }
    fs::path Out() const { return dir_ / "htdocs" / "pc1"; }
    fs::path Published(const std::string& ext) const { return Out() / (std::string(kImageBase) + ext); }

    fw_test::TempDir dir_;
    fw_test::LogRecorder log_;
    std::shared_ptr<fw_test::CountingNotifier> notifier_ = std::make_shared<fw_test::CountingNotifier>();
    engine::PCaptureStreamer share_;
    std::shared_ptr<const engine::TSettings> savedSettings_;
    std::vector<std::shared_ptr<TCopyFileThread>> threads_;
};

TEST_F(CopyFileThreadTest, AnUnknownTypeOnlyLogsItsPasses) {
    Drop("a.bmp", BmpBytes(4, 4));
    RunPasses(Params(4), 1);
    std::vector<std::string> texts;
    for (const auto& e : log_.Entries()) texts.push_back(e.Text.rfind("thrdCopy End [", 0) == 0 ? "thrdCopy End" : e.Text);
    EXPECT_EQ(texts, (std::vector<std::string>{"fileCopy Start", "thrdCopy Start", "thrdCopy End", "fileCopy End"}));
    EXPECT_FALSE(fs::exists(Out() / "index.html"));
    EXPECT_TRUE(fs::exists(Drop() / "a.bmp"));
}

TEST_F(CopyFileThreadTest, TheNewestBmpGoesOutAsPngAndTheOlderOneFollows) {
    Drop("a.bmp", BmpBytes(10, 10), 20);
    Drop("B.BMP", BmpBytes(20, 10));
    Drop("c.jpg", "not the chosen type");
    RunPasses(Params(engine::kDropBmp), 1);
    EXPECT_EQ(fw_test::PngSize(ReadFile(Published(".png"))), std::make_pair(20, 10));
    EXPECT_EQ(ReadFile(Out() / kImageBase), ReadFile(Published(".png")));
    EXPECT_FALSE(fs::exists(Drop() / "B.BMP"));
    EXPECT_TRUE(fs::exists(Drop() / "a.bmp"));
    EXPECT_EQ(ReadFile(Out() / "index.html"),
              "<img src=\"/pc1/capimg_2130706433_50100.png\"><script src=\"pcm-player.min.js\"></script>");
    EXPECT_EQ(log_.Count("fileCopy pngfn: " + Published(".png").string()), 1);
    EXPECT_EQ(notifier_->Count(engine::kCnFileData), 1);

    RunPasses(Params(engine::kDropBmp), 1);  // a second thread: its first pass takes a.bmp
    EXPECT_EQ(fw_test::PngSize(ReadFile(Published(".png"))), std::make_pair(10, 10));
    EXPECT_FALSE(fs::exists(Drop() / "a.bmp"));
    EXPECT_EQ(notifier_->Count(engine::kCnFileData), 2);
    EXPECT_EQ(notifier_->Count(engine::kCnImageData), 0);
}

TEST_F(CopyFileThreadTest, BmpConversionsFollowTheSettings) {
    struct Case {
        bool convert, toJpg, toPng;
        const char* ext;
        bool (*isFormat)(const std::string&);
    };
    auto isBmp = [](const std::string& b) { return b.size() > 2 && b.compare(0, 2, "BM") == 0; };
    const Case cases[] = {
        {true, true, true, ".png", fw_test::HasPngSignature},  // the JPEG written first is overwritten
        {true, true, false, ".jpg", fw_test::HasJpegSoi},
        {true, false, false, ".bmp", isBmp},
        {false, true, true, ".bmp", isBmp},
    };
    for (const Case& c : cases) {
        engine::UpdateSettings([&](engine::TSettings& s) {
            s.BmpConvAct = c.convert;
            s.Bmp2Jpg = c.toJpg;
            s.Bmp2Png = c.toPng;
        });
        fs::remove_all(Out());
        Drop("a.bmp", BmpBytes(16, 8));
        RunPasses(Params(engine::kDropBmp, false), 1);
        EXPECT_TRUE(c.isFormat(ReadFile(Published(c.ext)))) << c.ext;
    }
}

TEST_F(CopyFileThreadTest, ThePublishedNameKeepsItsExtensionUntilThePageIsWrittenAgain) {
    engine::UpdateSettings([](engine::TSettings& s) {
        s.Bmp2Jpg = true;
        s.Bmp2Png = false;
    });
    Drop("a.bmp", BmpBytes(16, 8));
    auto thread = Start(Params(engine::kDropBmp, false));
    ASSERT_TRUE(log_.WaitForPrefix("thrdCopy End [", 1));
    EXPECT_TRUE(fw_test::HasJpegSoi(ReadFile(Published(".jpg"))));

    engine::UpdateSettings([](engine::TSettings& s) {
        s.Bmp2Jpg = false;
        s.Bmp2Png = true;
    });
    ASSERT_TRUE(log_.WaitForPrefix("thrdCopy End [", 2));
    EXPECT_TRUE(fw_test::HasPngSignature(ReadFile(Published(".jpg"))));  // PNG data under the old name
    EXPECT_FALSE(fs::exists(Published(".png")));

    fs::remove(Out() / "index.html");
    ASSERT_TRUE(log_.WaitForPrefix("thrdCopy End [", 3));
    EXPECT_TRUE(fw_test::HasPngSignature(ReadFile(Published(".png"))));
    EXPECT_NE(ReadFile(Out() / "index.html").find("/pc1/capimg_2130706433_50100.png"), std::string::npos);
}

TEST_F(CopyFileThreadTest, WithoutDeleteInputTheSameFileGoesOutEveryPass) {
    Drop("photo.JPG", "\xFF\xD8 jpeg bytes");
    RunPasses(Params(engine::kDropJpeg, false), 2);
    EXPECT_EQ(ReadFile(Published(".jpg")), "\xFF\xD8 jpeg bytes");
    EXPECT_TRUE(fs::exists(Drop() / "photo.JPG"));
    EXPECT_EQ(notifier_->Count(engine::kCnFileData), 2);
    EXPECT_EQ(log_.Count("fileCopy - ok: " + Published(".jpg").string()), 2);
}

TEST_F(CopyFileThreadTest, AnInputWhosePublishedFileIsInUseWaitsForALaterPass) {
    Drop("p.png", "png one");
    RunPasses(Params(engine::kDropPng), 1);
    ASSERT_EQ(ReadFile(Published(".png")), "png one");

    Drop("p.png", "png two");
    {
        // Another program holds the published name open for writing.
        fw_test::ChildProcess writer({"/bin/sh", "-c", "exec 3>>\"$0\"; exec sleep 60", Published(".png").string()});
        ASSERT_TRUE(fw_test::WaitUntil([&] { return engine::IsFileInUse(Published(".png").string()); }, 10s));
        RunPasses(Params(engine::kDropPng), 1);
        EXPECT_EQ(ReadFile(Published(".png")), "png one");
        EXPECT_TRUE(fs::exists(Drop() / "p.png"));  // not published, so not deleted
    }
    RunPasses(Params(engine::kDropPng), 1);
    EXPECT_EQ(ReadFile(Published(".png")), "png two");
    EXPECT_FALSE(fs::exists(Drop() / "p.png"));
}

// A second program writes a file into the watched folder slowly: it is published, and deleted, only
// after its writer closed it; a writer that keeps it open is reported once, however many passes wait.
TEST_F(CopyFileThreadTest, AFileStillBeingWrittenIsTakenOnlyOnceItsWriterClosedIt) {
    const fs::path input = Drop() / "slow.jpg";
    const fs::path go = dir_ / "go";
    const std::string head = "\xFF\xD8 first half,", tail = " second half";
    fw_test::ChildProcess writer({"/bin/sh", "-c",
                                  "exec 3>\"$0\"; printf '%s' \"$2\" >&3; while [ ! -e \"$1\" ]; do sleep 0.05; done; "
                                  "printf '%s' \"$3\" >&3",
                                  input.string(), go.string(), head, tail});
    ASSERT_TRUE(fw_test::WaitUntil([&] { return fs::exists(input) && fs::file_size(input) == head.size(); }, 10s));
    auto thread = Start(Params(engine::kDropJpeg));
    ASSERT_TRUE(log_.WaitForPrefix("thrdCopy End [", 3, 20s));
    EXPECT_FALSE(fs::exists(Published(".jpg")));
    EXPECT_TRUE(fs::exists(input));
    EXPECT_EQ(notifier_->Count(engine::kCnFileData), 0);
    EXPECT_EQ(log_.Count("fileCopy input still being written: " + input.string()), 1);

    fw_test::WriteFile(go, "");
    ASSERT_TRUE(fw_test::WaitUntil([&] { return !fs::exists(input); }, 20s));
    EXPECT_EQ(ReadFile(Published(".jpg")), head + tail);
    EXPECT_EQ(notifier_->Count(engine::kCnFileData), 1);
    EXPECT_EQ(log_.Count("fileCopy input still being written: " + input.string()), 1);
}

TEST_F(CopyFileThreadTest, AnSvgWithoutJavaGoesOutUnchangedUnderThePngName) {
    engine::UpdateSettings([&](engine::TSettings& s) {
        s.Svg2Png = true;
        s.JavaDir = (dir_ / "nojava").string() + "/";
    });
    Drop("d.svg", "<svg/>");
    RunPasses(Params(engine::kDropSvg), 1);
    EXPECT_EQ(log_.CountStartingWith("fileCopy java.exe not found", engine::kLogError), 1);
    EXPECT_EQ(ReadFile(Published(".png")), "<svg/>");
}

TEST_F(CopyFileThreadTest, AnSvgIsRasterisedByTheOutsideProgram) {
    // A stand-in Java runtime: writes the PNG beside its third argument (java -jar <jar> <input>).
    const fs::path java = dir_ / "jre" / "java";
    fw_test::MakeFile(java, "#!/bin/sh\nprintf 'PNG of %s' \"$(basename \"$3\")\" > \"${3%.*}.png\"\n");
    fs::permissions(java, fs::perms::owner_all);
    fw_test::MakeFile(dir_ / "batik" / "rasterizer.jar", "jar");
    engine::UpdateSettings([&](engine::TSettings& s) {
        s.Svg2Png = true;
        s.JavaDir = (dir_ / "jre").string() + "/";
        s.BatikDir = (dir_ / "batik" / "rasterizer.jar").string();
    });
    const std::string name = "my drawing;$(touch pwned) & 'x'.svg";
    Drop(name, "<svg/>");
    RunPasses(Params(engine::kDropSvg), 1);
    EXPECT_EQ(ReadFile(Published(".png")), "PNG of " + name);
    EXPECT_EQ(log_.CountStartingWith("fileCopy SVG to PNG ["), 1);
    EXPECT_FALSE(fs::exists(Drop() / name));
    EXPECT_FALSE(fs::exists(Drop() / "my drawing;$(touch pwned) & 'x'.png"));  // deleted with the input
    EXPECT_FALSE(fs::exists(Drop() / "pwned"));
    EXPECT_FALSE(fs::exists("pwned"));
}

TEST_F(CopyFileThreadTest, AnSvgWhoseRasteriserWroteNothingGoesOutUnchanged) {
    const fs::path java = dir_ / "jre" / "java";
    fw_test::MakeFile(java, "#!/bin/sh\nexit 1\n");
    fs::permissions(java, fs::perms::owner_all);
    fw_test::MakeFile(dir_ / "rasterizer.jar", "jar");
    engine::UpdateSettings([&](engine::TSettings& s) {
        s.Svg2Png = true;
        s.JavaDir = (dir_ / "jre").string();
        s.BatikDir = (dir_ / "rasterizer.jar").string();
    });
    Drop("d.svg", "<svg/>");
    RunPasses(Params(engine::kDropSvg), 1);
    EXPECT_EQ(log_.Count("fileCopy conversion SVG to PNG failed"), 1);
    EXPECT_EQ(ReadFile(Published(".png")), "<svg/>");
}

TEST_F(CopyFileThreadTest, AnEmptyWatchedFolderNeverMeansTheWorkingFolder) {
    const fs::path cwd = fs::current_path();
    fs::current_path(Drop());
    Drop("here.bmp", BmpBytes(4, 4));
    auto p = Params(engine::kDropBmp);
    p.SourceDir = "";
    RunPasses(p, 1);
    fs::current_path(cwd);
    EXPECT_TRUE(fs::exists(Drop() / "here.bmp"));
    EXPECT_FALSE(fs::exists(Published(".png")));
    EXPECT_EQ(notifier_->Count(engine::kCnFileData), 0);
}

TEST_F(CopyFileThreadTest, TheFileListIsCopiedAndNothingIsDeletedAtTheEnd) {
    share_->UseFileList = true;
    fw_test::MakeFile(dir_ / "pages" / "pcm-player.min.js", "player");
    share_->FileList = {(dir_ / "pages" / "pcm-player.min.js").string()};
    Drop("p.png", "png");
    RunPasses(Params(engine::kDropPng), 1);
    EXPECT_EQ(ReadFile(Out() / "pcm-player.min.js"), "player");
    EXPECT_EQ(log_.Count("fileCopy End"), 1);
    EXPECT_TRUE(fs::exists(Published(".png")));  // unlike the snapshot thread, the folder stays
}

TEST(CopyFileThreadNamesTest, ExtensionsAndPauses) {
    engine::TSettings s;
    s.BmpConvAct = true;
    s.Bmp2Jpg = false;
    s.Bmp2Png = false;
    s.Svg2Png = false;
    EXPECT_EQ(TCopyFileThread::PublishedExtension(engine::kDropBmp, s), ".bmp");
    EXPECT_EQ(TCopyFileThread::PublishedExtension(engine::kDropSvg, s), ".svg");
    EXPECT_EQ(TCopyFileThread::PublishedExtension(engine::kDropJpeg, s), ".jpg");
    EXPECT_EQ(TCopyFileThread::PublishedExtension(engine::kDropPng, s), ".png");
    EXPECT_EQ(TCopyFileThread::PublishedExtension(4, s), std::nullopt);
    s.Svg2Png = true;
    EXPECT_EQ(TCopyFileThread::PublishedExtension(engine::kDropSvg, s), ".png");
    EXPECT_EQ(TCopyFileThread::InputExtension(9), ".xxxyyyzzz");

    // A zero or negative interval would make the thread spin: one second at least.
    for (auto [freq, ms] : {std::pair{5, 5000}, std::pair{1, 1000}, std::pair{0, 1000}, std::pair{-3, 1000}}) {
        engine::TCopyFileThreadParams p;
        p.Freq = freq;
        p.FileFmt = 4;
        auto thread = TCopyFileThread::Start(p);
        EXPECT_EQ(thread->PauseBetweenPasses().count(), ms) << freq;
        thread->RequestEnd();
    }
    EXPECT_TRUE(fw_test::WaitForNoWorkers());
}

}  // namespace
