// Web-socket audio end to end: the web-socket graph with the real sink filter and the audio-grab filter,
// and a browser-like client that receives the sound as binary messages.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>

#include "engine/graphs/WebSocketFilterGraph.h"
#include "platform/filters/AudioGrabData.h"
#include "tests/engine/graphs/AudioGraphFilters.h"
#include "tests/engine/graphs/WebSocketTestClient.h"
#include "tests/support/test_env.h"

namespace {

using engine::TWebSocketFilterGraph;
using engine::TWebSocketGraphParams;
using fw_test::TWebSocketTestClient;
using namespace std::chrono_literals;

constexpr int32_t kLoopback = 2130706433;  // 127.0.0.1
constexpr int kMessagesToReceive = 10;

class WebSocketAudioTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(fw_test::RegisterAudioGraphFilters(FW_SINK_MODULE)); }
    static void TearDownTestSuite() { fw_test::RevokeAudioGraphFilters(); }

    // Connects (the server listens shortly after Run) and receives several binary PCM messages in a row.
    static void ExpectContinuousAudio(int port) {
        std::unique_ptr<TWebSocketTestClient> client;
        std::string error;
        ASSERT_TRUE(fw_test::WaitUntil(
            [&] {
                client = std::make_unique<TWebSocketTestClient>();  // a refused socket is not used again
                return client->Connect(port, 1s, &error);
            },
            10s))
            << error;
        for (int n = 0; n < kMessagesToReceive; ++n) {
            auto message = client->Read(5s);
            ASSERT_TRUE(message) << "message " << n;
            EXPECT_TRUE(message->Binary) << n;
            // One 20 ms buffer per message: 960 frames of the tone, the same on both channels.
            ASSERT_EQ(message->Bytes.size(), kAudioBufferBytes) << n;
            int16_t frame[2];
            bool stereoPairs = true, sound = false;
            for (size_t at = 0; at < message->Bytes.size(); at += sizeof frame) {
                std::memcpy(frame, message->Bytes.data() + at, sizeof frame);
                stereoPairs &= frame[0] == frame[1];
                sound |= frame[0] != 0;
            }
            EXPECT_TRUE(stereoPairs && sound) << n;
        }
    }
};

TEST_F(WebSocketAudioTest, AClientReceivesTheSoundAndAPortChangeTakesEffectAtTheNextStart) {
    const int firstPort = fw_test::FreeTcpPort();
    TWebSocketFilterGraph graph;
    graph.SetParams(TWebSocketGraphParams{kLoopback, firstPort, false});
    ASSERT_TRUE(graph.Init());
    ASSERT_TRUE(graph.Run());
    ExpectContinuousAudio(firstPort);
    ASSERT_TRUE(graph.Stop());
    EXPECT_FALSE(graph.Built());

    int secondPort = fw_test::FreeTcpPort();
    while (secondPort == firstPort) secondPort = fw_test::FreeTcpPort();
    graph.SetParams(TWebSocketGraphParams{kLoopback, secondPort, false});
    ASSERT_TRUE(graph.Init());
    ASSERT_TRUE(graph.Run());
    ExpectContinuousAudio(secondPort);
    // The first port is free again: nothing answers there.
    TWebSocketTestClient stale;
    EXPECT_FALSE(stale.Connect(firstPort, 1s));
    EXPECT_TRUE(graph.Stop());
}

}  // namespace
