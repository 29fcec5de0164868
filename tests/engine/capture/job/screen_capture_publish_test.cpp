// Capture jobs end to end on the X server: the real capture graph (screen-capture stand-in, colour
// converter, Orbelle32 as a TCP server on the internal port), the real libVLC and an embedded web
// server on a free loopback port. A "DirectX" job publishes HLS, snapshots and a UDP transport stream,
// a screen:// job and a folder job publish too, and a watched window that moves restarts its job.
#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "engine/capture/job/CaptureHttpServerShare.h"
#include "engine/capture/job/ScreenCapture.h"
#include "engine/capture/workers/ImageEncoders.h"
#include "engine/capture/workers/SharePage.h"
#include "engine/settings/settings_store.h"
#include "platform/com/com.h"
#include "tests/engine/capture/broadcast/copied_vlc.h"
#include "tests/engine/capture/broadcast/stream_test_helpers.h"
#include "tests/engine/capture/settings/capture_test_fakes.h"
#include "tests/engine/capture/workers/image_thread_test_helpers.h"
#include "tests/engine/http/http_server_fixture.h"
#include "tests/platform/ui/qt_test_app.h"
#include "tests/support/event_pump.h"
#include "tests/support/foreign_listener.h"

using fw_test::PumpUntil;

namespace {

using namespace engine;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kAreaWidth = 320;
constexpr int kAreaHeight = 240;
constexpr const char* kPageTemplate = "<html><body><img src=\"<imgsrc>\" name=\"capimg\"></body></html>";

std::string ModuleBeside(const char* name) {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

// The path part of an absolute segment address ("http://127.0.0.1:8080/pc1/x.ts" -> "/pc1/x.ts").
std::string PathOf(const std::string& url) {
    const size_t scheme = url.find("://");
    const size_t slash = url.find('/', scheme == std::string::npos ? 0 : scheme + 3);
    return slash == std::string::npos ? url : url.substr(slash);
}

bool PortIsFree(int port) {
    const int fd = fw_test::ListeningSocket(port, SOCK_STREAM);
    if (fd < 0) return false;
    close(fd);
    return true;
}

// A top-level X window with a class and a caption, moved by the test.
class TestWindow {
public:
    TestWindow(const std::string& className, const std::string& caption, int x, int y) {
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_)) return;
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        window_ = xcb_generate_id(connection_);
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, static_cast<int16_t>(x),
                          static_cast<int16_t>(y), 320, 240, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        const std::string wmClass = "fwtest" + std::string(1, '\0') + className + std::string(1, '\0');
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                            static_cast<uint32_t>(wmClass.size()), wmClass.data());
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                            static_cast<uint32_t>(caption.size()), caption.data());
        xcb_map_window(connection_, window_);
        Sync();
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow() {
        if (window_ != 0) xcb_destroy_window(connection_, window_);
        xcb_disconnect(connection_);
    }
    bool ok() const { return window_ != 0; }
    void Move(int x, int y) {
        const uint32_t values[] = {static_cast<uint32_t>(x), static_cast<uint32_t>(y)};
        xcb_configure_window(connection_, window_, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, values);
        Sync();
    }

private:
    // Waits until the X server has handled every request sent so far.
    void Sync() { free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr)); }

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t window_ = 0;
};

class CapturePublishTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        TestApp();
        ASSERT_TRUE(fw_test::HasDisplay()) << "runs under the test X server";
        CoInitialize();
        ASSERT_EQ(RegisterServerLibrary(ModuleBeside("libFwScreenCapture.so")), S_OK);
        ASSERT_EQ(RegisterServerLibrary(FW_SINK_MODULE), S_OK);
        ASSERT_NO_FATAL_FAILURE(vlc_.Make());
    }
    static void TearDownTestSuite() { vlc_.Remove(); }
    static std::string LibDir() { return vlc_.LibDir(); }

    void SetUp() override {
        if (!fw_test::HasDisplay()) GTEST_SKIP() << "no X server";
        engine::UpdateSettings([&](engine::TSettings& s) {
            s.HtmlDir = (dir.path() / "html").string() + "/";
            s.ArchiveDir = (dir.path() / "archive").string() + "/";
            s.SegLen = 1;
            s.NumSeg = 5;
        });
        fw_test::MakeFile(dir.path() / "template.html", kPageTemplate);
        host = std::make_shared<fw_test::TFakeHttpHost>();
        server = std::make_shared<TCaptureHttpServer>(1, (dir.path() / "template.html").string(), host);
        server->Root = (dir.path() / "web").string() + "/";
        std::filesystem::create_directories(server->Root);
        server->SetIpAddr(TCaptureHttpServer::kDefaultIpAddr);
        server->SetPort(fw_test::FreeTcpPort());
        ASSERT_TRUE(server->SetIndexHtml((dir.path() / "template.html").string()));
        ASSERT_TRUE(server->Activate());
        ASSERT_TRUE(fw_test::WaitForTcpPort(server->Port(), 5s));
    }
    void TearDown() override {
        job.reset();
        if (server) server->Deactivate();
    }

    std::shared_ptr<TScreenCapture> MakeJob(int32_t idx, uint8_t method, uint8_t kind) {
        TScreenCaptureServices services = DefaultScreenCaptureServices(idx, 0);
        services.Notifier = notifier;
        services.LogList = workerLog.list;
        services.ShareDefaults = fw_test::TestShareDefaults(idx, (dir.path() / "pages").string());
        services.NextInternalPort = nextPort;
        services.VlcPreferences.ClearPluginCache = [] { return false; };  // keep the copied cache: every start stays quick
        auto made = TScreenCapture::Create(idx, services);
        made->OnLog = [this](TScreenCapture&, const std::string& text, uint8_t level) {
            if (level == kLogLevelError) errors.push_back(text);
        };
        made->Params.capEncoder = method;
        made->Params.capKind = kind;
        made->Params.capVlcLibPath = LibDir();
        made->Params.iLeft = 0;
        made->Params.iTop = 0;
        made->Params.iWidth = kAreaWidth;
        made->Params.iHeight = kAreaHeight;
        made->Params.vidFrameRate = 10;
        made->Params.vidBitrate = 300;
        made->Params.audCodec = kAudCodecNone;
        return made;
    }

    PCaptureStreamer AddHttpShare(TScreenCapture& to, const std::string& subDir, bool video, bool image) {
        auto share = std::make_shared<TCaptureStreamer>();
        to.Streamers->InitStreamer(*share, true);
        share->HttpServer = std::make_shared<TCaptureHttpServerShare>(server);
        share->SubDir = subDir;
        share->VideoActive = video;
        share->ImageActive = image;
        to.Streamers->Append(share);
        return share;
    }

    fw_test::THttpAnswer Get(const std::string& path) { return fw_test::Request(server->Port(), "GET", path); }

    // Waits for a playlist that lists at least `count` segments, the last of which the server hands out.
    bool WaitForPlaylist(const std::string& path, size_t count, std::string& playlist, std::string& segment) {
        return PumpUntil(
            [&] {
                playlist = Get(path).Body;
                const auto segments = fw_test::PlaylistSegments(playlist);
                if (segments.size() < count) return false;
                segment = Get(PathOf(segments.back().second)).Body;
                return !segment.empty();
            },
            25s);
    }

    std::string ErrorText() const {
        std::string text;
        for (const auto& e : errors) text += e + "\n";
        return text;
    }

    // Threads of the process besides the web server's connection pool.
    size_t ThreadsBesidesServer() const { return fw_test::ThreadCount() - server->ConnectionThreadCount(); }

    static inline fw_test::TCopiedVlc vlc_;
    fw_test::TempDir dir;
    std::shared_ptr<fw_test::TFakeHttpHost> host;
    std::shared_ptr<TCaptureHttpServer> server;
    std::shared_ptr<fw_test::CountingNotifier> notifier = std::make_shared<fw_test::CountingNotifier>();
    fw_test::LogRecorder workerLog;
    std::vector<std::string> errors;
    // The sink's ports: free ones, not the program's counter (test programs run side by side).
    std::function<int32_t()> nextPort = [] { return fw_test::FreeTcpPort(); };
    std::shared_ptr<TScreenCapture> job;
};

TEST_F(CapturePublishTest, GraphJobPublishesHlsSnapshotsAndUdpAndStopLeavesNothingBehind) {
    job = MakeJob(1, kCapEncoderDirectX, kCapKindArea);
    const auto http = AddHttpShare(*job, "pc1", true, true);
    auto udp = job->Streamers->AddStreamer();
    udp->IpAddr = kLoopbackAddress;
    udp->Port = fw_test::FreeUdpPort();
    fw_test::UdpReceiver udpReceiver(udp->Port);
    ASSERT_TRUE(udpReceiver.ok());
    const size_t threadsBefore = ThreadsBesidesServer();
    ASSERT_TRUE(job->Prepare(1)) << ErrorText();

    const auto started = Clock::now();
    ASSERT_TRUE(job->Start()) << ErrorText();

    std::string playlist, segment;
    ASSERT_TRUE(WaitForPlaylist("/pc1/stream_1.m3u8", 2, playlist, segment)) << playlist << ErrorText();
    EXPECT_TRUE(playlist.starts_with("#EXTM3U")) << playlist;
    for (const auto& [seconds, url] : fw_test::PlaylistSegments(playlist)) EXPECT_TRUE(url.ends_with(".ts")) << url;
    EXPECT_EQ(static_cast<unsigned char>(segment[0]), fw_test::kTsSyncByte);

    const std::string imageName = CaptureImageBaseName(http->IpAddr, http->Port) + ".png";
    std::string page;
    ASSERT_TRUE(PumpUntil([&] { return (page = Get("/pc1/index.html").Body).find(imageName) != std::string::npos; }, 10s))
        << page;
    fw_test::THttpAnswer image;
    ASSERT_TRUE(PumpUntil([&] { return (image = Get("/pc1/" + imageName)).Status == 200 && !image.Body.empty(); }, 10s));
    EXPECT_TRUE(fw_test::HasPngSignature(image.Body));
    EXPECT_EQ(fw_test::PngSize(image.Body), std::make_pair(kAreaWidth, kAreaHeight));
    EXPECT_GE(notifier->Count(kCnImageData), 1);
    EXPECT_GE(notifier->Count(kCnVideoData), 1);

    EXPECT_TRUE(PumpUntil([&] { return udpReceiver.datagrams() >= 10; }, 10s)) << udpReceiver.datagrams();
    EXPECT_EQ(udpReceiver.malformed(), 0);

    job->Stop();
    EXPECT_GE(Clock::now() - started, kMinBroadcastRunTime);
    EXPECT_FALSE(job->Started());
    EXPECT_FALSE(job->HasVlcInstance());
    EXPECT_FALSE(job->HasGraph());
    EXPECT_TRUE(PortIsFree(job->InternalPort)) << "the sink still listens on " << job->InternalPort;
    EXPECT_TRUE(fw_test::WaitUntil([&] { return TWorkerThread::RunningCount() == 0; }, 5s));
    EXPECT_TRUE(fw_test::WaitUntil([&] { return ThreadsBesidesServer() <= threadsBefore; }, 10s))
        << ThreadsBesidesServer() << " threads, " << threadsBefore << " before: " << fw_test::ThreadNames();
}

TEST_F(CapturePublishTest, ScreenJobOfLibVlcPublishesHls) {
    job = MakeJob(2, kCapEncoderVlc, kCapKindArea);
    AddHttpShare(*job, "pc2", true, false);
    ASSERT_TRUE(job->Prepare(2)) << ErrorText();
    ASSERT_TRUE(job->Start()) << ErrorText();
    std::string playlist, segment;
    ASSERT_TRUE(WaitForPlaylist("/pc2/stream_2.m3u8", 1, playlist, segment)) << playlist << ErrorText();
    EXPECT_TRUE(playlist.starts_with("#EXTM3U")) << playlist;
    EXPECT_EQ(static_cast<unsigned char>(segment[0]), fw_test::kTsSyncByte);
    job->Stop();
    EXPECT_FALSE(job->HasVlcInstance());
}

TEST_F(CapturePublishTest, FolderJobPublishesTheNewestDroppedImage) {
    job = MakeJob(3, kCapEncoderSystem, kCapKindFiles);
    const auto drop = dir.path() / "drop";
    std::filesystem::create_directories(drop);
    job->Params.Files.capFilesDir = drop.string() + "/";
    job->Params.Files.capiFileFmt = 3;  // PNG
    job->Params.Files.capiFreq = 1;
    job->Params.Files.capbDelete = false;
    const auto share = AddHttpShare(*job, "pc3", false, false);
    share->FileActive = true;
    TPngEncoder png(6);
    ASSERT_TRUE(png.Encode(fw_test::TestPicture(80, 60)));
    fw_test::WriteFile(drop / "shot.png", std::string(png.Bytes()));
    ASSERT_TRUE(job->Prepare(3));
    ASSERT_TRUE(job->Start()) << ErrorText();
    EXPECT_TRUE(job->HasVlcInstance()) << "the real libVLC made no instance of the common arguments";

    const std::string imageName = CaptureImageBaseName(share->IpAddr, share->Port) + ".png";
    std::string page;
    ASSERT_TRUE(PumpUntil([&] { return (page = Get("/pc3/index.html").Body).find(imageName) != std::string::npos; }, 10s))
        << page;
    fw_test::THttpAnswer image;  // the page may come a moment before its image
    EXPECT_TRUE(PumpUntil([&] { return (image = Get("/pc3/" + imageName)).Status == 200; }, 10s));
    EXPECT_EQ(fw_test::PngSize(image.Body), std::make_pair(80, 60));
    EXPECT_TRUE(PumpUntil([&] { return notifier->Count(kCnFileData) >= 1; }, 5s));
    job->Stop();
    const TShareRun* run = job->ShareRuns().Find(share);
    ASSERT_NE(run, nullptr);
    EXPECT_FALSE(run->CopyFileThread);
    EXPECT_FALSE(job->HasVlcInstance());
}

TEST_F(CapturePublishTest, MovedWindowRestartsItsJob) {
    TestWindow window("FwWatchedWindow", "Framewick watched window", 40, 30);
    ASSERT_TRUE(window.ok());
    job = MakeJob(4, kCapEncoderDirectX, kCapKindWindow);
    job->Params.Window.sClass = "FwWatchedWindow";
    job->Params.Window.sCaption = "Framewick watched window";
    const auto share = AddHttpShare(*job, "pc4", false, true);
    int restarts = 0;
    job->OnRestart = [&](TScreenCapture&) { ++restarts; };
    ASSERT_TRUE(job->Prepare(4)) << ErrorText();
    ASSERT_NE(job->Geometry().Window.Handle, platform::kNoWindow);
    ASSERT_TRUE(job->Start()) << ErrorText();
    EXPECT_EQ(job->Geometry().CaptureRect.Left, 40);
    const std::string imageName = CaptureImageBaseName(share->IpAddr, share->Port) + ".png";
    ASSERT_TRUE(PumpUntil([&] { return Get("/pc4/" + imageName).Status == 200; }, 10s));

    window.Move(200, 120);
    ASSERT_TRUE(PumpUntil([&] { return restarts == 1; }, 10s)) << ErrorText();
    EXPECT_TRUE(job->Started());
    EXPECT_EQ(job->Geometry().CaptureRect.Left, 200);
    EXPECT_EQ(job->Geometry().CaptureRect.Top, 120);
    EXPECT_TRUE(job->HasWindowTimer());
    EXPECT_TRUE(PumpUntil([&] { return Get("/pc4/" + imageName).Status == 200; }, 10s));
    job->Stop();
}

// Another program on the job's internal port sends a red picture stream to whoever connects: the
// job's sink takes another port, libVLC reads the job's own pictures from there and never connects to
// the stranger. With every port of a tiny range taken, the start fails, says so, and nothing connects
// to any of the strangers.
TEST_F(CapturePublishTest, ForeignListenerOnTheInternalPortNeverFeedsTheBroadcast) {
    fw_test::TForeignListener stranger(fw_test::FreeTcpPort(), fw_test::SolidYv12Picture(kAreaWidth, kAreaHeight, 81, 90, 240));
    ASSERT_TRUE(stranger.Listening());
    job = MakeJob(5, kCapEncoderDirectX, kCapKindArea);
    job->InternalPort = stranger.Port();
    AddHttpShare(*job, "pc5", true, true);
    ASSERT_TRUE(job->Prepare(5)) << ErrorText();
    ASSERT_TRUE(job->Start()) << ErrorText();
    EXPECT_NE(job->InternalPort, stranger.Port());
    std::string playlist, segment;
    ASSERT_TRUE(WaitForPlaylist("/pc5/stream_5.m3u8", 2, playlist, segment)) << playlist << ErrorText();
    EXPECT_EQ(static_cast<unsigned char>(segment[0]), fw_test::kTsSyncByte);
    EXPECT_EQ(stranger.Clients(), 0) << "libVLC read the stranger's pictures";
    job->Stop();

    std::vector<std::unique_ptr<fw_test::TForeignListener>> range;
    for (int i = 0; i < 2; ++i) {
        range.push_back(std::make_unique<fw_test::TForeignListener>(fw_test::FreeTcpPort()));
        ASSERT_TRUE(range.back()->Listening());
    }
    size_t handedOut = 0;
    nextPort = [&] { return range[handedOut++ % range.size()]->Port(); };
    errors.clear();
    job = MakeJob(6, kCapEncoderDirectX, kCapKindArea);
    job->InternalPort = stranger.Port();
    AddHttpShare(*job, "pc6", true, true);
    ASSERT_TRUE(job->Prepare(6)) << ErrorText();
    EXPECT_FALSE(job->Start());
    EXPECT_NE(ErrorText().find("no internal port can be had"), std::string::npos) << ErrorText();
    EXPECT_FALSE(job->HasGraph());
    EXPECT_FALSE(job->HasVlcInstance());
    PumpUntil([] { return false; }, 1s);  // time for a reader that was pointed somewhere to connect
    EXPECT_EQ(stranger.Clients(), 0);
    for (const auto& other : range) EXPECT_EQ(other->Clients(), 0);
    EXPECT_FALSE(std::filesystem::exists(server->Root + "pc6/stream_6.m3u8"));
    job.reset();
    nextPort = [] { return fw_test::FreeTcpPort(); };
}

}  // namespace
