// UDP and RTP output of the sink from the real library: datagram sizes per chunk and item size, the
// RTP header, the two-second discard window, output statistics and the host's callback.
#include <gtest/gtest.h>

#include <atomic>
#include <numeric>

#include "tests/sinkfilter/sink_library.h"
#include "tests/support/test_env.h"

using namespace std::chrono_literals;

// The host export the library looks up in the program that loads it.
std::atomic<int64_t> g_hostCallbackBytes{0};
extern "C" __attribute__((visibility("default"))) void DataOutputIpCallBack(int32_t bytes) {
    g_hostCallbackBytes += bytes;
}

namespace {

struct TDatagramCase {
    const char* name;
    TSinkInterface kind;
    int buffer;
    int payloadType;
    std::vector<size_t> items;
    std::vector<size_t> datagrams;  // sizes, in order
};

std::vector<std::vector<uint8_t>> Drain(int fd, size_t count) {
    std::vector<std::vector<uint8_t>> got;
    while (got.size() < count) {
        auto d = fw_test::ReceiveDatagram(fd, 3s);
        if (!d) break;
        got.push_back(std::move(*d));
    }
    return got;
}

}  // namespace

TEST(SinkDatagrams, SizesHeadersStatisticsAndTheDiscardWindow) {
    const TDatagramCase cases[] = {
        {"udp 1000", siUdpClient, 1000, 33, {2500, 1000, 1}, {1000, 1000, 500, 1000, 1}},
        {"udp 65535 held to 65507", siUdpClient, 65535, 33, {100000}, {65507, 34493}},
        {"rtp 32768", siRtp, 32768, 33, {100000}, {32768, 32768, 32768, 1744}},
        {"rtp 12 takes the default, payload type 160", siRtp, 12, 160, {40000}, {32768, 7256}},
    };
    for (const TDatagramCase& c : cases) {
        SCOPED_TRACE(c.name);
        int port = 0;
        fw_test::TFd receiver = fw_test::UdpReceiver(&port);
        ASSERT_TRUE(receiver);
        fw_test::TSinkGraph g({fw_test::AudioType(48000, 2)});
        g.Setup(port, c.buffer, false, ftUnk, c.payloadType, c.kind);
        g_hostCallbackBytes = 0;
        ASSERT_EQ(g.control->Run(), S_OK);

        // Queued within the first two seconds: never sent.
        g.Push(fw_test::NumberedSample(999, 300));
        ASSERT_TRUE(g.WaitDelivered(1));
        EXPECT_FALSE(fw_test::ReceiveDatagram(receiver.get(), 2200ms)) << "sent inside the discard window";

        std::vector<uint8_t> all;
        for (size_t i = 0; i < c.items.size(); ++i) {
            auto item = fw_test::NumberedSample(static_cast<uint32_t>(i), c.items[i]);
            all.insert(all.end(), item.begin(), item.end());
            g.Push(std::move(item));
        }
        const auto got = Drain(receiver.get(), c.datagrams.size());
        ASSERT_EQ(got.size(), c.datagrams.size());
        std::vector<uint8_t> payload;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].size(), c.datagrams[i]) << "datagram " << i;
            const size_t skip = c.kind == siRtp ? 12 : 0;
            payload.insert(payload.end(), got[i].begin() + skip, got[i].end());
            if (c.kind == siRtp) {
                EXPECT_EQ(got[i][0], 0x80);
                EXPECT_EQ(got[i][1], static_cast<uint8_t>(c.payloadType));
                const uint16_t seq = static_cast<uint16_t>(got[i][2] << 8 | got[i][3]);
                EXPECT_EQ(seq, i);
                EXPECT_TRUE(std::equal(got[i].begin() + 8, got[i].begin() + 12, got[0].begin() + 8)) << "ssrc";
            }
        }
        EXPECT_EQ(payload, all);
        EXPECT_FALSE(fw_test::ReceiveDatagram(receiver.get(), 100ms));

        const int64_t itemBytes = std::accumulate(c.items.begin(), c.items.end(), int64_t{0});
        ASSERT_TRUE(fw_test::WaitUntil([&] { return g_hostCallbackBytes == itemBytes; }, 2s));
        const TDravenelStats stats = g.Stats();
        EXPECT_EQ(stats.OutpBytes, itemBytes);
        EXPECT_EQ(stats.OutpSamples, static_cast<int64_t>(c.datagrams.size()));
        EXPECT_EQ(stats.InpSamples, static_cast<int64_t>(c.items.size() + 1));
        EXPECT_GE(stats.runTime, 2);
        EXPECT_EQ(g.control->Stop(), S_OK);
    }
}

TEST(SinkDatagrams, TheUdpServerKindSendsNothing) {
    int port = 0;
    fw_test::TFd receiver = fw_test::UdpReceiver(&port);
    fw_test::TSinkGraph g({fw_test::AudioType(48000, 2)});
    g.Setup(port, 1000, false, ftUnk, 33, siUdpServer);
    ASSERT_EQ(g.control->Run(), S_OK);
    for (uint32_t i = 0; i < 150; ++i) g.Push(fw_test::NumberedSample(i, 100));
    ASSERT_TRUE(g.WaitDelivered(150));
    EXPECT_FALSE(fw_test::ReceiveDatagram(receiver.get(), 2500ms));
    EXPECT_EQ(g.Stats().InpSamples, 150);
    EXPECT_EQ(g.Stats().OutpSamples, 0);
}
