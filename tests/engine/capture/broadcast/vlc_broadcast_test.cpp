// A capture job's broadcast against the real libVLC: raw YV12 pictures served over TCP on loopback
// are encoded into HLS in a share folder and a transport stream to a UDP receiver on loopback.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <sstream>
#include <thread>

#include "engine/capture/broadcast/CaptureBroadcast.h"
#include "engine/capture/broadcast/VlcArguments.h"
#include "engine/capture/broadcast/VlcLibraryCheck.h"
#include "engine/vlc/BoundVlcApi.h"
#include "tests/engine/capture/broadcast/copied_vlc.h"
#include "tests/engine/capture/broadcast/stream_test_helpers.h"
#include "tests/engine/capture/settings/capture_test_fakes.h"
#include "tests/support/test_env.h"

namespace {

using namespace engine;
using namespace std::chrono_literals;
using fw_test::ListeningSocket;
using fw_test::PlaylistSegments;
using fw_test::RawVideoServer;
using fw_test::ThreadCount;
using fw_test::ThreadNames;
using fw_test::UdpReceiver;

class VlcBroadcastTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_NO_FATAL_FAILURE(vlc_.Make());
    }
    static void TearDownTestSuite() { vlc_.Remove(); }
    static std::string LibDir() { return vlc_.LibDir(); }

    CaptureLog Log() {
        return [this](const std::string& text, uint8_t level) {
            if (level == kLogLevelError) errors.push_back(text);
        };
    }

    static inline fw_test::TCopiedVlc vlc_;
    std::vector<std::string> errors;
};

TEST_F(VlcBroadcastTest, HlsAndUdpShareReceiveTheStreamAndStopWaitsThreeSeconds) {
    TVlcLibraryCheck check({nullptr, [] { return false; }});  // keep the copied plugin cache
    ASSERT_TRUE(check.CheckVlc(LibDir()));
    const size_t threadsBefore = ThreadCount();
    {
        const int tcpPort = fw_test::FreeTcpPort();
        const int udpPort = fw_test::FreeUdpPort();
        RawVideoServer source(tcpPort);
        UdpReceiver receiver(udpPort);
        ASSERT_TRUE(source.ok());

        fw_test::TempDir web;
        auto hls = std::make_shared<TCaptureStreamer>();
        hls->Protocol = kShareProtocolHttp;
        hls->HttpServer = std::make_shared<fw_test::FakeHttpServer>(kLoopbackAddress, 8080, web.path().string() + "/");
        hls->SubDir = "pc1";
        auto udp = std::make_shared<TCaptureStreamer>();
        udp->IpAddr = kLoopbackAddress;
        udp->Port = udpPort;
        const std::vector<PCaptureStreamer> shares = {hls, udp};

        TScreenCaptureParams p;
        TCaptureGeometry raw;
        raw.FrameWidth = fw_test::kRawWidth;
        raw.FrameHeight = fw_test::kRawHeight;
        p.vidFrameRate = fw_test::kRawFps;
        p.vidBitrate = 300;
        const TChainSettings settings{1, "stream_1", /*SegLen=*/1, /*NumSeg=*/5};

        TVlcBroadcast broadcast(std::make_shared<BoundVlcApi>(), "Quillmar_00C0FFEE", 1, Log());
        ASSERT_TRUE(broadcast.CreateInstance(BuildVlcArguments(p, raw)));
        auto started = std::chrono::steady_clock::now();
        const TBroadcastStepResult result = RunBroadcastStep(broadcast, p, shares, settings, tcpPort, Log());
        ASSERT_TRUE(result.Ok) << (errors.empty() ? "" : errors.back());
        EXPECT_EQ(result.HlsShares.size(), 1u);

        const std::filesystem::path folder = web.path() / "pc1";
        std::string playlist;
        std::string segment;
        const bool written = fw_test::WaitUntil(
            [&] {
                playlist = fw_test::ReadFile(folder / "stream_1.m3u8");
                const auto segments = PlaylistSegments(playlist);
                if (segments.size() < 2) return false;
                segment = fw_test::ReadFile(folder / std::filesystem::path(segments.back().second).filename());
                return !segment.empty();
            },
            20s);
        ASSERT_TRUE(written) << playlist;
        EXPECT_TRUE(playlist.starts_with("#EXTM3U")) << playlist;
        EXPECT_EQ(static_cast<unsigned char>(segment[0]), 0x47);
        for (const auto& [seconds, url] : PlaylistSegments(playlist)) {
            EXPECT_LE(seconds, settings.SegLen + 0.5) << "segments follow the key-frame interval";
            EXPECT_TRUE(url.starts_with("http://127.0.0.1:8080/pc1/stream_1_")) << url;
        }
        EXPECT_TRUE(fw_test::WaitUntil([&] { return receiver.datagrams() >= 10; }, 10s)) << receiver.datagrams();
        EXPECT_EQ(receiver.malformed(), 0);
        broadcast.Stop(started);
        EXPECT_FALSE(broadcast.HasMedia());

        // Started again and stopped one second later: the stop comes three seconds after the start.
        started = std::chrono::steady_clock::now();
        ASSERT_TRUE(RunBroadcastStep(broadcast, p, shares, settings, tcpPort, Log()).Ok);
        std::this_thread::sleep_until(started + 1s);
        const auto stopCalled = std::chrono::steady_clock::now();
        broadcast.Stop(started);
        const auto now = std::chrono::steady_clock::now();
        EXPECT_GE(now - started, kMinBroadcastRunTime);
        EXPECT_LT(now - started, kMinBroadcastRunTime + 1500ms);
        EXPECT_GE(now - stopCalled, 1800ms);

        // Nothing listens: play answers success, but the broadcast is reported as failed.
        errors.clear();
        EXPECT_FALSE(RunBroadcastStep(broadcast, p, shares, settings, fw_test::FreeTcpPort(), Log()).Ok);
        ASSERT_FALSE(errors.empty());
        EXPECT_NE(errors.back().find("could not be read"), std::string::npos) << errors.back();
        broadcast.ReleaseInstance();
    }
    // Deleting the broadcast and releasing the instance leave no libVLC thread behind.
    EXPECT_TRUE(fw_test::WaitUntil([&] { return ThreadCount() <= threadsBefore; }, 5s))
        << ThreadCount() << " threads, " << threadsBefore << " before: " << ThreadNames();
}

// Runs after the broadcast: without its plugin cache libVLC would load every plugin at the next start.
TEST_F(VlcBroadcastTest, LibraryCheckAcceptsTheCopiedLibraryOnceAndClearsThePluginCache) {
    ASSERT_TRUE(std::filesystem::exists(LibDir() + "plugins/plugins.dat"));
    std::string storedVersion;
    bool clearCache = true;
    TVlcPreferences preferences{[&](const std::string& version) { storedVersion = version; }, [&] { return clearCache; }};
    TVlcLibraryCheck check(preferences);
    EXPECT_TRUE(check.CheckVlc(LibDir()));
    EXPECT_TRUE(check.VlcVersionText().starts_with("3.0")) << check.VlcVersionText();
    EXPECT_FALSE(std::filesystem::exists(LibDir() + "plugins/plugins.dat"));
    EXPECT_EQ(storedVersion, "3.0");
    EXPECT_FALSE(check.CheckVlc(LibDir()));  // a job reads the version word once only

    fw_test::WriteFile(LibDir() + "plugins/plugins.dat", "cache");
    clearCache = false;
    DeleteVlcPluginCache(LibDir(), false, preferences);
    EXPECT_TRUE(std::filesystem::exists(LibDir() + "plugins/plugins.dat"));
    DeleteVlcPluginCache(LibDir(), true, preferences);
    EXPECT_FALSE(std::filesystem::exists(LibDir() + "plugins/plugins.dat"));
}

}  // namespace
