// Screen capture end to end: the screen capture graph with the real screen-capture filter grabbing a
// red screen of the test's own X server, the real colour converter and the real Orbelle32 as a TCP
// server, read by a client the way libVLC reads it (raw YV12 pictures, no sample header).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphs/SpreadFilterGraph.h"
#include "tests/support/PrivateXServer.h"
#include "tests/support/foreign_listener.h"
#include "tests/sinkfilter/sink_library.h"
#include "tests/support/test_env.h"

namespace engine {
namespace {

using namespace std::chrono_literals;

constexpr int kScreenW = 640, kScreenH = 480;
// Not multiples of 16: the filter grows the area to 208 x 128.
constexpr int kAreaW = 200, kAreaH = 120;
constexpr int kPictureW = 208, kPictureH = 128;
constexpr size_t kLumaBytes = static_cast<size_t>(kPictureW) * kPictureH;
constexpr size_t kChromaBytes = static_cast<size_t>(kPictureW / 2) * (kPictureH / 2);
constexpr size_t kYv12Bytes = kLumaBytes + 2 * kChromaBytes;
constexpr int kRestarts = 20;
// BT.601 limited range of pure red; the converter rounds, so allow one step.
constexpr int kRedY = 81, kRedU = 90, kRedV = 240, kTolerance = 1;

TFgSpreadInputParams RedAreaParams(int port) {
    TFgSpreadInputParams p;
    p.UseScreenFilter = 1;
    p.SinkPort = port;
    p.SinkInterface = siTcpServer;
    p.ScreenCapture.CaptureMode = 2;
    p.ScreenCapture.Left = 16;
    p.ScreenCapture.Top = 32;
    p.ScreenCapture.Width = kAreaW;
    p.ScreenCapture.Height = kAreaH;
    p.ScreenCapture.FrameRate = 25;
    p.ScreenCapture.ScalePercent = 100;
    p.ScreenCapture.VideoOutput = 1;
    return p;
}

// How many bytes of a plane lie further than kTolerance from the expected value.
size_t Outliers(const std::vector<uint8_t>& picture, size_t from, size_t bytes, int expected) {
    size_t off = 0;
    for (size_t i = from; i < from + bytes; ++i) off += std::abs(picture[i] - expected) > kTolerance;
    return off;
}

// True when nothing listens on the port and a new listener can take it at once.
bool PortIsFree(int port) {
    if (fw_test::TFd probe = fw_test::ConnectTcp(port, 0ms)) return false;
    return static_cast<bool>(fw_test::ListenTcp(port));
}

class SpreadFilterGraphSinkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = new fw_test::PrivateXServer(kScreenW, kScreenH);
        if (!server_->ok() || !server_->SetRootColour("red")) return;
        // The screen-capture filter grabs from $DISPLAY.
        ::setenv("DISPLAY", server_->name().c_str(), 1);
        CoInitialize();
        registered_ = RegisterServerLibrary(FW_SCREEN_CAPTURE_MODULE) == S_OK;
    }
    static void TearDownTestSuite() {
        if (registered_) RegisterServerLibrary(FW_SCREEN_CAPTURE_MODULE, true);
        CoUninitialize();
        delete server_;
        server_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(server_->ok()) << "Xvfb did not start";
        ASSERT_TRUE(registered_);
    }

    static std::unique_ptr<TSpreadFilterGraph> RunningGraph(int port) {
        auto graph = std::make_unique<TSpreadFilterGraph>(RedAreaParams(port));
        EXPECT_TRUE(graph->Init());
        EXPECT_TRUE(graph->Run());
        return graph;
    }

    static fw_test::PrivateXServer* server_;
    static bool registered_;
};
fw_test::PrivateXServer* SpreadFilterGraphSinkTest::server_ = nullptr;
bool SpreadFilterGraphSinkTest::registered_ = false;

TEST_F(SpreadFilterGraphSinkTest, AReaderGetsRedYv12PicturesAndGetImageTheScreenArea) {
    const int port = fw_test::FreeTcpPort();
    std::unique_ptr<TSpreadFilterGraph> graph = RunningGraph(port);
    fw_test::TFd reader = fw_test::ConnectTcp(port);
    ASSERT_TRUE(reader);

    // Whole pictures back to back: if one were cut or padded, the planes of the next would not line up.
    std::vector<uint8_t> picture(kYv12Bytes);
    for (int n = 0; n < 5; ++n) {
        ASSERT_TRUE(fw_test::ReadExactly(reader.get(), picture.data(), picture.size(), 10s)) << "picture " << n;
        EXPECT_EQ(Outliers(picture, 0, kLumaBytes, kRedY), 0u) << "Y plane of picture " << n;
        EXPECT_EQ(Outliers(picture, kLumaBytes, kChromaBytes, kRedV), 0u) << "V plane (second in YV12) of " << n;
        EXPECT_EQ(Outliers(picture, kLumaBytes + kChromaBytes, kChromaBytes, kRedU), 0u) << "U plane of " << n;
    }

    platform::TBitmap bitmap;
    ASSERT_TRUE(graph->GetImage(&bitmap));
    ASSERT_EQ(bitmap.Width, kPictureW);
    ASSERT_EQ(bitmap.Height, kPictureH);
    size_t notRed = 0;
    for (int y = 0; y < bitmap.Height; ++y)
        for (int x = 0; x < bitmap.Width; ++x) {
            const uint8_t* p = bitmap.Row(y) + 4 * x;
            notRed += !(p[0] == 0 && p[1] == 0 && p[2] == 0xFF);
        }
    EXPECT_EQ(notRed, 0u);

    EXPECT_TRUE(graph->Stop());
    graph.reset();
    EXPECT_TRUE(PortIsFree(port));
}

// The graph tells the port its own sink listens on: never one that another program holds. Moved to a
// free port, the sink listens there, and a reader there gets the graph's pictures.
TEST_F(SpreadFilterGraphSinkTest, SinkOnATakenPortHoldsNoneUntilMovedToAFreeOne) {
    fw_test::TForeignListener stranger(fw_test::FreeTcpPort());
    ASSERT_TRUE(stranger.Listening());
    TSpreadFilterGraph unbuilt(RedAreaParams(stranger.Port()));
    EXPECT_EQ(unbuilt.SinkListeningPort(), 0);
    EXPECT_FALSE(unbuilt.MoveSinkTo(fw_test::FreeTcpPort()));

    TSpreadFilterGraph graph(RedAreaParams(stranger.Port()));
    ASSERT_TRUE(graph.Init());
    EXPECT_EQ(graph.SinkListeningPort(), 0);
    const int free = fw_test::FreeTcpPort();
    EXPECT_TRUE(graph.MoveSinkTo(free));
    EXPECT_EQ(graph.SinkListeningPort(), free);
    EXPECT_EQ(graph.Params().SinkPort, free);
    EXPECT_FALSE(graph.MoveSinkTo(stranger.Port()));
    EXPECT_EQ(graph.SinkListeningPort(), 0);
    EXPECT_TRUE(graph.MoveSinkTo(free));

    fw_test::TFd reader = fw_test::ConnectTcp(free);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(graph.Run());
    std::vector<uint8_t> picture(kYv12Bytes);
    ASSERT_TRUE(fw_test::ReadExactly(reader.get(), picture.data(), picture.size(), 10s));
    EXPECT_EQ(Outliers(picture, 0, kLumaBytes, kRedY), 0u);
    EXPECT_EQ(stranger.Clients(), 0);
    EXPECT_TRUE(graph.Stop());
}

TEST_F(SpreadFilterGraphSinkTest, TwentyStartsAndStopsWithAReaderConnectedFreeThePortEachTime) {
    const int port = fw_test::FreeTcpPort();
    std::vector<uint8_t> picture(kYv12Bytes);
    for (int round = 0; round < kRestarts; ++round) {
        // As the capture job does it: a new graph for every start, freed at the stop.
        std::unique_ptr<TSpreadFilterGraph> graph = RunningGraph(port);
        fw_test::TFd reader = fw_test::ConnectTcp(port);
        ASSERT_TRUE(reader) << "round " << round;
        ASSERT_TRUE(fw_test::ReadExactly(reader.get(), picture.data(), picture.size(), 10s)) << "round " << round;
        EXPECT_EQ(Outliers(picture, 0, kLumaBytes, kRedY), 0u) << "round " << round;
        EXPECT_TRUE(graph->Stop()) << "round " << round;
        graph.reset();  // the reader is still connected
        ASSERT_TRUE(PortIsFree(port)) << "round " << round;
    }
}

}  // namespace
}  // namespace engine
