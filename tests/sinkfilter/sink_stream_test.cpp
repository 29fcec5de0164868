// Stream outputs of the sink from the real library: the TCP server (whole samples, each to one
// client, queued samples kept for a late client, a connection made before Run kept), the "TSRQ"
// header per connection type, the TCP client against a server that starts late, and web-socket
// clients receiving the chunks as binary messages.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>

#include <atomic>
#include <mutex>

#include <set>
#include <thread>

#include "tests/sinkfilter/sink_library.h"
#include "tests/sinkfilter/ws_test_client.h"
#include "tests/support/test_env.h"

using namespace std::chrono_literals;

TEST(SinkTcpServer, ALateClientGetsTheNewest101Of150Samples) {
    const int port = fw_test::FreeTcpPort();
    fw_test::TSinkGraph g({fw_test::VideoType(MEDIASUBTYPE_RGB32, 320, 240, 32, 400000)});
    g.Setup(port, 0, true, ftVidRgb32, 0, siTcpServer);
    ASSERT_EQ(g.control->Run(), S_OK);
    for (uint32_t i = 0; i < 150; ++i) g.Push(fw_test::NumberedSample(i, 70000));
    ASSERT_TRUE(g.WaitDelivered(150));

    fw_test::TFd client = fw_test::ConnectTcp(port);
    ASSERT_TRUE(client);
    for (uint32_t want = 49; want < 150; ++want) {
        auto frame = fw_test::ReadFrame(client.get(), 5s);
        ASSERT_TRUE(frame) << "frame " << want;
        EXPECT_EQ(frame->payload.size(), 70000u);  // whole, whatever the chunk size
        EXPECT_EQ(fw_test::SampleNumber(frame->payload), want);
    }
    EXPECT_FALSE(fw_test::ReadFrame(client.get(), 200ms));
    const TDravenelStats stats = g.Stats();
    EXPECT_EQ(stats.OutpSamples, 101);
    EXPECT_EQ(stats.OutpBytes, 101 * (70000 + 48));
}

TEST(SinkTcpServer, TwoClientsConnectedBeforeRunShareTheSamplesDisjointly) {
    const int port = fw_test::FreeTcpPort();
    fw_test::TSinkGraph g({fw_test::AudioType(48000, 2)});
    g.Setup(port, 32768, true, ftUnk, 0, siTcpServer);
    // The server listens from the set-up on: connections made before the graph runs are kept.
    fw_test::TFd a = fw_test::ConnectTcp(port), b = fw_test::ConnectTcp(port);
    ASSERT_TRUE(a && b);
    std::this_thread::sleep_for(100ms);
    ASSERT_EQ(g.control->Run(), S_OK);

    constexpr uint32_t kSamples = 400;
    std::vector<uint32_t> gotA, gotB;
    auto reader = [](int fd, std::vector<uint32_t>& got) {
        while (auto frame = fw_test::ReadFrame(fd, 1500ms)) got.push_back(fw_test::SampleNumber(frame->payload));
    };
    std::thread ta(reader, a.get(), std::ref(gotA)), tb(reader, b.get(), std::ref(gotB));
    for (uint32_t i = 0; i < kSamples; ++i) {
        g.Push(fw_test::NumberedSample(i, 5000));
        if (i % 20 == 0) std::this_thread::sleep_for(5ms);
    }
    ta.join();
    tb.join();
    EXPECT_FALSE(gotA.empty());
    EXPECT_FALSE(gotB.empty());
    std::set<uint32_t> all(gotA.begin(), gotA.end());
    for (uint32_t n : gotB) EXPECT_TRUE(all.insert(n).second) << "sample " << n << " reached both clients";
    const TDravenelStats stats = g.Stats();
    EXPECT_EQ(all.size(), kSamples) << "sent " << stats.OutpSamples << " of " << stats.InpSamples;
    EXPECT_EQ(gotA.size() + gotB.size(), kSamples) << gotA.size() << " + " << gotB.size();
}

TEST(SinkTcpServer, AStalledClientIsClosedAfterTheSendTimeoutAndItsItemGoesToTheOther) {
    const int port = fw_test::FreeTcpPort();
    constexpr size_t kSampleBytes = 1 << 20;
    constexpr uint32_t kSamples = 24;
    fw_test::TSinkGraph g({fw_test::VideoType(MEDIASUBTYPE_RGB32, 512, 512, 32, 400000)}, kSampleBytes);
    g.Setup(port, 32768, true, ftUnk, 0, siTcpServer);
    fw_test::TFd stalled = fw_test::ConnectTcp(port);  // reads nothing until the server gives up on it
    fw_test::TFd reader = fw_test::ConnectTcp(port);
    ASSERT_TRUE(stalled && reader);
    std::this_thread::sleep_for(100ms);
    ASSERT_EQ(g.control->Run(), S_OK);

    std::mutex mutex;
    std::vector<uint32_t> gotReader;
    std::atomic<bool> done{false};
    std::thread readerThread([&] {
        while (!done)
            if (auto frame = fw_test::ReadFrame(reader.get(), 200ms)) {
                std::lock_guard lock(mutex);
                gotReader.push_back(fw_test::SampleNumber(frame->payload));
            }
    });
    for (uint32_t i = 0; i < kSamples; ++i) {
        g.Push(fw_test::NumberedSample(i, kSampleBytes));
        ASSERT_TRUE(g.WaitDelivered(i + 1));
        std::this_thread::sleep_for(20ms);  // well below the queue's limit: nothing is dropped
    }

    // Once a write has waited the send time-out (5 s) the server gives up on the stalled client and the
    // sample in flight goes back to the queue and on to the other client: then every sample went out whole.
    EXPECT_TRUE(fw_test::WaitUntil([&] { return g.Stats().OutpSamples == kSamples; }, 12s))
        << "the sample in flight at the stalled client never went out";
    // The stalled client holds some whole samples, perhaps the start of the one that was in flight, and
    // then the end of the connection (queued behind the data it did not read).
    std::vector<uint32_t> gotStalled;
    while (auto frame = fw_test::ReadFrame(stalled.get(), 500ms)) gotStalled.push_back(fw_test::SampleNumber(frame->payload));
    std::vector<uint8_t> rest(kSampleBytes);
    pollfd readable{stalled.get(), POLLIN, 0};
    ssize_t n = 1;
    while (n > 0 && ::poll(&readable, 1, 1000) > 0) n = ::recv(stalled.get(), rest.data(), rest.size(), 0);
    EXPECT_LE(n, 0) << "the stalled connection is still open";

    EXPECT_TRUE(fw_test::WaitUntil(
        [&] {
            std::lock_guard lock(mutex);
            return gotReader.size() + gotStalled.size() >= kSamples;
        },
        5s));
    done = true;
    readerThread.join();
    std::set<uint32_t> all(gotReader.begin(), gotReader.end());
    for (uint32_t number : gotStalled)
        EXPECT_TRUE(all.insert(number).second) << "sample " << number << " reached both clients";
    EXPECT_EQ(all.size(), kSamples);
    EXPECT_EQ(gotReader.size() + gotStalled.size(), kSamples);
}

// A stop while a sample is being written to a client that does not read: the sample goes back to the
// head of the queue, and after the restart the next client gets it first, whole.
TEST(SinkTcpServer, TheSampleInFlightAtAStopGoesToTheNextClientAfterTheRestart) {
    const int port = fw_test::FreeTcpPort();
    // Far more than the socket buffers of both ends hold: the write cannot finish while nobody reads.
    constexpr size_t kLargeBytes = 32 << 20;
    fw_test::TSinkGraph g({fw_test::VideoType(MEDIASUBTYPE_RGB32, 4096, 2048, 32, 400000)}, kLargeBytes);
    g.Setup(port, 32768, true, ftUnk, 0, siTcpServer);
    fw_test::TFd stalled = fw_test::ConnectTcp(port);
    ASSERT_TRUE(stalled);
    ASSERT_EQ(g.control->Run(), S_OK);
    const auto large = fw_test::NumberedSample(1, kLargeBytes);
    g.Push(large);
    // The write has begun once its first bytes wait at the stalled client.
    ASSERT_TRUE(fw_test::WaitUntil(
        [&] {
            uint8_t byte;
            return ::recv(stalled.get(), &byte, 1, MSG_PEEK | MSG_DONTWAIT) == 1;
        },
        5s));
    ASSERT_EQ(g.control->Stop(), S_OK);
    EXPECT_EQ(g.Stats().OutpSamples, 0);
    EXPECT_TRUE(fw_test::ConnectionEnds(stalled.get(), 5s));

    ASSERT_EQ(g.control->Run(), S_OK);
    fw_test::TFd next = fw_test::ConnectTcp(port);
    ASSERT_TRUE(next);
    g.Push(fw_test::NumberedSample(2, 1000));
    const auto first = fw_test::ReadFrame(next.get(), 10s);
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->payload == large) << "sample " << fw_test::SampleNumber(first->payload) << " of "
                                         << first->payload.size() << " bytes";
    const auto second = fw_test::ReadFrame(next.get(), 5s);
    ASSERT_TRUE(second);
    EXPECT_EQ(fw_test::SampleNumber(second->payload), 2u);
    EXPECT_TRUE(fw_test::WaitUntil([&] { return g.Stats().OutpSamples == 2; }, 2s));
}

TEST(SinkSampleHeader, VideoFieldsOnlyForAVideoInfoConnectionWithTheVp8Setting) {
    enum class TTimes { None, Both, StartOnly };
    struct {
        const char* name;
        dshow::TMediaType type;
        TFormatTypes format;
        TTimes times;
        bool videoFields;
    } cases[] = {
        {"vp8 video", fw_test::VideoType(MEDIASUBTYPE_VP80, 640, -480, 24, 333333), ftVidVp8, TTimes::Both, true},
        {"rgb32 video", fw_test::VideoType(MEDIASUBTYPE_RGB32, 640, 480, 32, 400000), ftVidRgb32, TTimes::Both, false},
        {"audio with the vp8 setting", fw_test::AudioType(44100, 2), ftVidVp8, TTimes::None, false},
        // A start time alone is a success: the sample reports start + 1 as its stop.
        {"audio with a start time only", fw_test::AudioType(44100, 2), ftUnk, TTimes::StartOnly, false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int port = fw_test::FreeTcpPort();
        fw_test::TSinkGraph g({c.type});
        g.Setup(port, 32768, true, c.format, 0, siTcpServer);
        fw_test::TFd client = fw_test::ConnectTcp(port);
        ASSERT_TRUE(client);
        ASSERT_EQ(g.control->Run(), S_OK);
        const auto sample = fw_test::NumberedSample(7, 1234);
        const auto times = std::make_pair(REFERENCE_TIME{1000}, REFERENCE_TIME{401000});
        if (c.times == TTimes::None) g.Push(sample);
        else g.stream->Push({.data = sample, .times = times, .startTimeOnly = c.times == TTimes::StartOnly});
        auto frame = fw_test::ReadFrame(client.get(), 5s);
        ASSERT_TRUE(frame);
        const auto& h = frame->header;
        EXPECT_EQ(fw_test::LittleEndian(h, 4, 4), 1234u);
        EXPECT_EQ(frame->payload, sample);
        const uint64_t start = c.times == TTimes::None ? 0 : 1000;
        const uint64_t stop = c.times == TTimes::Both ? 401000 : c.times == TTimes::StartOnly ? 1001 : 0;
        EXPECT_EQ(fw_test::LittleEndian(h, 8, 8), start);
        EXPECT_EQ(fw_test::LittleEndian(h, 16, 8), stop);
        if (c.videoFields) {
            EXPECT_EQ(fw_test::LittleEndian(h, 24, 8), 333333u);
            EXPECT_EQ(fw_test::LittleEndian(h, 32, 4), 640u);
            EXPECT_EQ(static_cast<int32_t>(fw_test::LittleEndian(h, 36, 4)), -480);
            EXPECT_EQ(fw_test::LittleEndian(h, 40, 4), 1u);
            EXPECT_EQ(fw_test::LittleEndian(h, 44, 4), 24u);
        } else {
            for (size_t i = 24; i < 48; ++i) EXPECT_EQ(h[i], 0) << "byte " << i;
        }
    }
}

TEST(SinkTcpClient, ConnectsToAServerThatStartsLateAndThenSendsEverySample) {
    const int port = fw_test::FreeTcpPort();
    fw_test::TSinkGraph g({fw_test::AudioType(48000, 2)});
    g.Setup(port, 4096, true, ftUnk, 0, siTcpClient);
    ASSERT_EQ(g.control->Run(), S_OK);
    uint32_t next = 0;
    for (; next < 20; ++next) {  // nobody listens: emptied by the sender
        g.Push(fw_test::NumberedSample(next, 10000));
        std::this_thread::sleep_for(20ms);
    }
    fw_test::TFd listener = fw_test::ListenTcp(port);
    ASSERT_TRUE(listener);
    fw_test::TFd peer = fw_test::AcceptTcp(listener.get(), 5s);
    ASSERT_TRUE(peer);
    // Past the start-up window every sample arrives, in order and whole.
    std::this_thread::sleep_for(2500ms);
    const uint32_t firstCounted = next + 1000;
    for (uint32_t i = firstCounted; i < firstCounted + 30; ++i) {
        g.Push(fw_test::NumberedSample(i, 10000));
        std::this_thread::sleep_for(10ms);
    }
    std::vector<uint32_t> got;
    while (auto frame = fw_test::ReadFrame(peer.get(), 1500ms)) {
        EXPECT_EQ(frame->payload.size(), 10000u);
        got.push_back(fw_test::SampleNumber(frame->payload));
    }
    ASSERT_GE(got.size(), 30u);
    const std::vector<uint32_t> tail(got.end() - 30, got.end());
    for (uint32_t i = 0; i < 30; ++i) EXPECT_EQ(tail[i], firstCounted + i);
}

TEST(SinkWebSocket, ChunksReachEveryClientAsBinaryMessagesAndALateClientJoins) {
    const int port = fw_test::FreeTcpPort();
    fw_test::TSinkGraph g({fw_test::AudioType(48000, 2)});
    g.Setup(port, 32768, false, ftUnk, 0, siWebSocket);
    ASSERT_EQ(g.control->Run(), S_OK);
    fw_test::TWsTestClient first;
    ASSERT_TRUE(first.Connect(port, 3s));
    std::this_thread::sleep_for(2200ms);  // past the start-up window

    const auto item = fw_test::NumberedSample(1, 40000);
    g.Push(item);
    auto m1 = first.Read(3s), m2 = first.Read(3s);
    ASSERT_TRUE(m1 && m2);
    EXPECT_EQ(*m1, std::vector<uint8_t>(item.begin(), item.begin() + 32768));
    EXPECT_EQ(*m2, std::vector<uint8_t>(item.begin() + 32768, item.end()));

    // The second client has joined once a message reaches it (the sender, at the lowest priority, may
    // take a while on a busy machine); from then on every message reaches both.
    fw_test::TWsTestClient second;
    ASSERT_TRUE(second.Connect(port, 3s));
    std::optional<std::vector<uint8_t>> joined;
    for (uint32_t probe = 100; !joined && probe < 200; ++probe) {
        g.Push(fw_test::NumberedSample(probe, 1000));
        joined = second.Read(100ms);
    }
    ASSERT_TRUE(joined) << "the second client never got a message";
    const auto next = fw_test::NumberedSample(2, 1000);
    g.Push(next);
    for (auto* client : {&first, &second}) {
        std::optional<std::vector<uint8_t>> m;
        do m = client->Read(3s);
        while (m && *m != next && fw_test::SampleNumber(*m) >= 100);  // the probes that came before
        ASSERT_TRUE(m);
        EXPECT_EQ(*m, next);
    }
    EXPECT_EQ(g.control->Stop(), S_OK);
    // The server is gone with the stop: the clients' connections end.
    EXPECT_FALSE(first.Read(2s));
}
