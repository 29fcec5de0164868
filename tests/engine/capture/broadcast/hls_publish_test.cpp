// HLS written by the real libVLC into a share folder, served by the web server while libVLC writes
// and mirrored to a real FTP server: only whole segments ever leave the folder.
#include <QCoreApplication>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "engine/capture/broadcast/CaptureBroadcast.h"
#include "engine/capture/broadcast/VlcArguments.h"
#include "engine/capture/broadcast/VlcLibraryCheck.h"
#include "engine/ftp/ftp_notify.h"
#include "engine/ftp/ftp_update.h"
#include "engine/settings/settings_store.h"
#include "engine/util/file_in_use.h"
#include "engine/vlc/BoundVlcApi.h"
#include "platform/ui/message_target.h"
#include "tests/engine/capture/broadcast/copied_vlc.h"
#include "tests/engine/capture/broadcast/stream_test_helpers.h"
#include "tests/engine/capture/settings/capture_test_fakes.h"
#include "tests/engine/ftp/ftp_test_server.h"
#include "tests/engine/http/http_server_fixture.h"

namespace {

using namespace engine;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int kSegLenS = 2;  // the mirror, one upload a second, keeps pace with two-second segments
constexpr const char* kSubDir = "live/joe's_cam";
constexpr const char* kSubDirUrl = "/live/joe's_cam/";

// The transport-stream segments in a folder, in name order.
std::vector<std::string> SegmentsIn(const fs::path& dir) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dir, error)) {
        const std::string name = entry.path().filename().string();
        if (name.ends_with(".ts")) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string FileName(const std::string& url) { return url.substr(url.rfind('/') + 1); }

class HlsPublishTest : public fw_test::HttpServerFixture {
protected:
    static void SetUpTestSuite() {
        ASSERT_NO_FATAL_FAILURE(vlc_.Make());
    }
    static void TearDownTestSuite() { vlc_.Remove(); }

    void SetUp() override {
        HttpServerFixture::SetUp();
        TVlcLibraryCheck check({nullptr, [] { return false; }});  // keep the copied plugin cache
        ASSERT_TRUE(check.CheckVlc(vlc_.LibDir()));
        ASSERT_TRUE(source_.ok());
        server_ = StartServer();
        share_->Protocol = kShareProtocolHttp;
        share_->HttpServer = std::make_shared<fw_test::FakeHttpServer>(kLoopbackAddress, port_, Root().string() + "/");
        share_->SubDir = kSubDir;
    }
    void TearDown() override {
        if (broadcast_) {
            broadcast_->Stop(started_);
            broadcast_->ReleaseInstance();
        }
        HttpServerFixture::TearDown();
    }

    void StartBroadcast() {
        TScreenCaptureParams p;
        TCaptureGeometry raw;
        raw.FrameWidth = fw_test::kRawWidth;
        raw.FrameHeight = fw_test::kRawHeight;
        p.vidFrameRate = fw_test::kRawFps;
        p.vidBitrate = 300;
        const CaptureLog log = [this](const std::string& text, uint8_t level) {
            if (level == kLogLevelError) errors_.push_back(text);
        };
        broadcast_ = std::make_unique<TVlcBroadcast>(std::make_shared<BoundVlcApi>(), "Quillmar_00C0FFEE", 1, log);
        ASSERT_TRUE(broadcast_->CreateInstance(BuildVlcArguments(p, raw)));
        started_ = std::chrono::steady_clock::now();
        const TChainSettings settings{1, "stream_1", kSegLenS, /*NumSeg=*/5};
        ASSERT_TRUE(RunBroadcastStep(*broadcast_, p, {share_}, settings, tcpPort_, log).Ok)
            << (errors_.empty() ? "" : errors_.back());
    }

    fs::path Folder() const { return Root() / kSubDir; }

    const int tcpPort_ = fw_test::FreeTcpPort();
    fw_test::RawVideoServer source_{tcpPort_};
    std::unique_ptr<TCaptureHttpServer> server_;
    PCaptureStreamer share_ = std::make_shared<TCaptureStreamer>();
    std::unique_ptr<TVlcBroadcast> broadcast_;
    std::chrono::steady_clock::time_point started_;
    std::vector<std::string> errors_;
    static inline fw_test::TCopiedVlc vlc_;
};

TEST_F(HlsPublishTest, TheSegmentLibVlcIsWritingIsNeverServedHalf) {
    ASSERT_NO_FATAL_FAILURE(StartBroadcast());
    ASSERT_TRUE(fw_test::WaitUntil([&] { return SegmentsIn(Folder()).size() >= 2; }, 30s));

    // A read-only file beside the segments is nobody's to write, so nobody is writing it.
    fw_test::WriteFile(Folder() / "poster.jpg", "jpeg bytes");
    ::chmod((Folder() / "poster.jpg").c_str(), 0444);
    const fw_test::THttpAnswer poster = fw_test::Request(port_, "GET", std::string(kSubDirUrl) + "poster.jpg");
    EXPECT_EQ(poster.Status, 200);
    EXPECT_EQ(poster.Body, "jpeg bytes");

    // libVLC opens the next segment as soon as it closes one: the newest is nearly always open.
    int refused = 0;
    for (int round = 0; round < 5; ++round) {
        const std::string newest = SegmentsIn(Folder()).back();
        const fw_test::THttpAnswer answer = fw_test::Request(port_, "GET", kSubDirUrl + newest);
        if (answer.Status == 503) {
            ++refused;
        } else {
            // Closed just before the request: then it went out whole.
            ASSERT_EQ(answer.Status, 200) << newest;
            EXPECT_TRUE(fw_test::WaitUntil([&] { return !IsFileInUse((Folder() / newest).string()); }, 10s));
            EXPECT_EQ(answer.Body, fw_test::ReadFile(Folder() / newest)) << newest;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kSegLenS * 500));
    }
    EXPECT_GE(refused, 1);

    // Every segment the playlist lists goes out whole.
    const auto listed = fw_test::PlaylistSegments(fw_test::ReadFile(Folder() / "stream_1.m3u8"));
    ASSERT_FALSE(listed.empty());
    for (const auto& [seconds, url] : listed) {
        const std::string local = fw_test::ReadFile(Folder() / FileName(url));
        const fw_test::THttpAnswer answer = fw_test::Request(port_, "GET", kSubDirUrl + FileName(url));
        if (local.empty() && answer.Status == 404) continue;  // dropped by libVLC meanwhile
        EXPECT_EQ(answer.Status, 200) << url;
        EXPECT_EQ(answer.Body, local) << url;
    }
}

TEST_F(HlsPublishTest, TheFtpMirrorCarriesOnlyWholeSegmentsAndAPlaylistOfWholeOnes) {
    fw_test::FtpTestServer ftp;
    ASSERT_TRUE(ftp.Start());
    share_->FtpActive = true;
    share_->FtpHost = "ftp://" + ftp.host();  // the segment addresses name its web server instead
    share_->FtpHostDir = "/mirror";
    ASSERT_NO_FATAL_FAILURE(StartBroadcast());
    ASSERT_EQ(share_->FtpHostDir, "mirror/");

    std::vector<std::pair<intptr_t, intptr_t>> notes;
    platform::MessageTarget tab([&](uint32_t msg, intptr_t w, intptr_t l) {
        if (msg == wmFtpNotify) notes.emplace_back(w, l);
    });
    engine::UpdateSettings([](engine::TSettings& s) { s.FtpDelay = 0; });
    TFtpUpdateSettings settings;
    settings.Host = share_->FtpHost;
    settings.User = fw_test::FtpTestServer::kUser;
    settings.Password = fw_test::FtpTestServer::kPassword;
    settings.LocalDir = Folder().string() + "/";
    settings.StreamName = "stream_1";
    settings.HostDir = share_->FtpHostDir;
    settings.NotifyWindow = tab.Handle();
    auto mirror = std::make_unique<TFtpUpdate>(settings);
    mirror->SetActive(true);

    const fs::path remote = ftp.root() / "mirror";
    const auto uploadTimes = [&] {
        return static_cast<size_t>(
            std::count_if(notes.begin(), notes.end(), [](const auto& n) { return n.first == cfUploadTime; }));
    };
    // A segment is on the server under its name before the server's answer reaches the mirror: the stop
    // comes once every segment there has its upload time, so that it cuts off no upload but a new one.
    const bool mirrored = fw_test::WaitUntil(
        [&] {
            QCoreApplication::processEvents();
            const size_t segments = SegmentsIn(remote).size();
            return segments >= 6 && fs::exists(remote / "stream_1.m3u8") && uploadTimes() == segments;
        },
        120s);
    mirror.reset();  // nothing goes up while the copies are compared
    QCoreApplication::processEvents();
    ASSERT_TRUE(mirrored) << SegmentsIn(remote).size() << " segments on the server, " << uploadTimes()
                          << " upload times";

    int compared = 0;
    for (const std::string& name : SegmentsIn(remote)) {
        const std::string copy = fw_test::ReadFile(remote / name);
        ASSERT_FALSE(copy.empty()) << name;
        EXPECT_EQ(static_cast<unsigned char>(copy[0]), fw_test::kTsSyncByte) << name;
        const std::string local = fw_test::ReadFile(Folder() / name);
        if (local.empty()) continue;  // dropped by libVLC since
        EXPECT_EQ(copy, local) << name;
        ++compared;
    }
    EXPECT_GE(compared, 3);

    const auto listed = fw_test::PlaylistSegments(fw_test::ReadFile(remote / "stream_1.m3u8"));
    ASSERT_FALSE(listed.empty());
    for (const auto& [seconds, url] : listed) {
        EXPECT_TRUE(url.starts_with("http://" + ftp.host() + "/mirror/stream_1_")) << url;
        const std::string copy = fw_test::ReadFile(remote / FileName(url));
        ASSERT_FALSE(copy.empty()) << url;
        const std::string local = fw_test::ReadFile(Folder() / FileName(url));
        if (!local.empty()) {
            EXPECT_EQ(copy, local) << url;
        }
    }
    EXPECT_EQ(std::count_if(notes.begin(), notes.end(), [](const auto& n) { return n.first == cfError; }), 0);
    // Each segment went up once: no more upload times than segments on the server (nothing was deleted
    // yet); the stop may have cut off the answer to the last one.
    EXPECT_LE(uploadTimes(), SegmentsIn(remote).size());
}

}  // namespace
