// The outputs of the sink from the real library while its settings change and its clients misbehave:
// a change of kind on a stopped filter leaves exactly the output asked for (the old one stops
// receiving, its port is free), garbage settings and taken ports do no harm, and clients that come
// and go by the thousand leave the statistics consistent and no thread behind.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/dshow/dshow_log.h"
#include "tests/sinkfilter/sink_library.h"
#include "tests/sinkfilter/ws_test_client.h"
#include "tests/support/test_env.h"

using namespace std::chrono_literals;

namespace {

constexpr size_t kSampleBytes = 1000;
constexpr size_t kHeaderBytes = 48;
// The sending kinds drop what comes in during their first two seconds.
constexpr auto kPastTheDiscardWindow = 2300ms;

const char* KindName(TSinkInterface kind) {
    switch (kind) {
        case siTcpServer: return "tcp server";
        case siWebSocket: return "web socket";
        case siUdpClient: return "udp client";
        default: return "other";
    }
}

bool DiscardsAtFirst(TSinkInterface kind) { return kind != siTcpServer; }

// The number of a sample that came with its "TSRQ" header, as a datagram or a web-socket message.
std::optional<uint32_t> HeaderedNumber(const std::optional<std::vector<uint8_t>>& message) {
    if (!message || message->size() != kHeaderBytes + kSampleBytes || std::memcmp(message->data(), "TSRQ", 4) != 0)
        return std::nullopt;
    return static_cast<uint32_t>(fw_test::LittleEndian(*message, kHeaderBytes, 4));
}

// The receiving end of one output kind: a reader connected to the TCP server, a web-socket client or
// a UDP receiver.
struct TPeer {
    TSinkInterface kind;
    int port = 0;
    fw_test::TFd socket;  // the TCP reader or the UDP receiver
    fw_test::TWsTestClient ws;

    TPeer(TSinkInterface k, int tcpPort) : kind(k), port(tcpPort) {
        if (kind == siUdpClient) socket = fw_test::UdpReceiver(&port);
    }
    bool Connect() {
        if (kind == siTcpServer) socket = fw_test::ConnectTcp(port, 3s);
        if (kind == siWebSocket) return ws.Connect(port, 3s);
        return bool(socket);
    }
    std::optional<uint32_t> Next(std::chrono::milliseconds timeout) {
        switch (kind) {
            case siTcpServer: {
                const auto frame = fw_test::ReadFrame(socket.get(), timeout);
                if (!frame || frame->payload.size() != kSampleBytes) return std::nullopt;
                return fw_test::SampleNumber(frame->payload);
            }
            case siWebSocket: return HeaderedNumber(ws.Read(timeout));
            default: return HeaderedNumber(fw_test::ReceiveDatagram(socket.get(), timeout));
        }
    }
    // Connected peers see their connection end; the UDP receiver sees nothing come.
    bool LetGo() {
        if (kind == siTcpServer) return fw_test::ConnectionEnds(socket.get(), 3s);
        if (kind == siWebSocket) return !ws.Read(3s);
        return !fw_test::ReceiveDatagram(socket.get(), 300ms);
    }
};

// Pushes the numbered samples and expects them at the peer, in order.
void ExpectDelivered(fw_test::TSinkGraph& g, TPeer& peer, uint32_t first, uint32_t count) {
    for (uint32_t n = first; n < first + count; ++n) g.Push(fw_test::NumberedSample(n, kSampleBytes));
    for (uint32_t n = first; n < first + count; ++n) EXPECT_EQ(peer.Next(5s), n) << KindName(peer.kind);
}

}  // namespace

TEST(SinkOutputSwitch, AfterEveryChangeOnlyTheAskedOutputReceivesAndTheOldPortIsFree) {
    const struct {
        TSinkInterface from, to;
        bool runBetween;  // run and stop with the first kind before the change
        bool samePort;
    } cases[] = {
        {siTcpServer, siUdpClient, false, false},
        {siTcpServer, siWebSocket, false, true},
        {siTcpServer, siWebSocket, true, true},
        {siWebSocket, siTcpServer, true, true},
        {siUdpClient, siTcpServer, true, false},
        {siTcpServer, siTcpServer, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(KindName(c.from)) + " -> " + KindName(c.to) + (c.runBetween ? ", run between" : "") +
                     (c.samePort ? ", same port" : ""));
        const int fromPort = fw_test::FreeTcpPort();
        const int toPort = c.samePort ? fromPort : fw_test::FreeTcpPort();
        TPeer from(c.from, fromPort), to(c.to, toPort);
        fw_test::TSinkGraph g({fw_test::AudioType(48000, 2)});
        g.Setup(from.port, 32768, true, ftUnk, 0, c.from);
        if (c.runBetween) {
            ASSERT_EQ(g.control->Run(), S_OK);
            ASSERT_TRUE(from.Connect());
            if (DiscardsAtFirst(c.from)) std::this_thread::sleep_for(kPastTheDiscardWindow);
            ExpectDelivered(g, from, 1, 2);
            ASSERT_EQ(g.control->Stop(), S_OK);
        } else if (c.from == siTcpServer) {
            ASSERT_TRUE(from.Connect());  // it listens from the set-up on
        }

        g.Setup(to.port, 32768, true, ftUnk, 0, c.to);
        const bool portReused = c.samePort && c.to == siTcpServer;
        if (c.from != siUdpClient && !portReused) {
            EXPECT_FALSE(fw_test::AcceptsTcp(from.port)) << "old port not free";
        }
        if (c.from != siUdpClient || c.runBetween) {
            EXPECT_TRUE(from.LetGo()) << "the old output lives on";
        }
        // A new TCP server listens before the graph runs; the other kinds once it runs.
        if (c.to == siTcpServer) {
            ASSERT_TRUE(to.Connect()) << "the new server does not listen";
        }
        ASSERT_EQ(g.control->Run(), S_OK);
        if (c.to != siTcpServer) {
            ASSERT_TRUE(to.Connect());
        }
        if (DiscardsAtFirst(c.to)) std::this_thread::sleep_for(kPastTheDiscardWindow);
        ExpectDelivered(g, to, 100, 3);
        if (c.from == siUdpClient) {
            EXPECT_FALSE(fw_test::ReceiveDatagram(from.socket.get(), 300ms));
        }
        // The sender counts a sample once its send has returned, perhaps after the peer has it.
        EXPECT_TRUE(fw_test::WaitUntil([&] { return g.Stats().OutpSamples == 3; }, 2s)) << g.Stats().OutpSamples;
        EXPECT_EQ(g.Stats().OutpBytes, 3 * int64_t{kHeaderBytes + kSampleBytes});
        ASSERT_EQ(g.control->Stop(), S_OK);
    }
}

// The sink's own word on its TCP server: the port while the server listens, nothing for a port another
// program holds (logged at once, so a host can take another port right away) or for a kind that is no
// TCP server. A port the other program has given up is the sink's at its next set-up.
TEST(SinkListener, TellsThePortOfItsOwnServerAndNeverAnotherProgramsListener) {
    std::mutex linesMutex;
    std::vector<std::string> lines;
    dshow::SetLogHandler([&](dshow::TLogLevel level, const std::string& line) {
        std::lock_guard lock(linesMutex);
        if (level == dshow::TLogLevel::Error) lines.push_back(line);
    });
    const auto loggedCannotListen = [&](int port) {
        std::lock_guard lock(linesMutex);
        const std::string wanted = "[Orbelle32] TCP server cannot listen on 127.0.0.1:" + std::to_string(port) + ":";
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(wanted, 0) == 0; });
    };
    fw_test::TFd taken = fw_test::ListenTcp(fw_test::FreeTcpPort());
    ASSERT_TRUE(taken);
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    ::getsockname(taken.get(), reinterpret_cast<sockaddr*>(&bound), &length);
    const int takenPort = ntohs(bound.sin_port);
    const int freePort = fw_test::FreeTcpPort();

    const struct {
        const char* name;
        int port;
        TSinkInterface kind;
        HRESULT answer;
        int32_t held;
    } cases[] = {
        {"tcp server on a free port", freePort, siTcpServer, S_OK, freePort},
        {"tcp server on a port another program holds", takenPort, siTcpServer, S_FALSE, 0},
        {"web socket on a free port", freePort, siWebSocket, S_FALSE, 0},
        {"udp client", freePort, siUdpClient, S_FALSE, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fw_test::TSinkGraph g({fw_test::AudioType(48000, 2)});
        ComPtr<IOrbelleListener> listener;
        ASSERT_EQ(g.sink.As(listener), S_OK);
        EXPECT_EQ(listener->GetListeningPort(nullptr), E_POINTER);
        g.Setup(c.port, 32768, false, ftUnk, 0, c.kind);
        int32_t port = -1;
        EXPECT_EQ(listener->GetListeningPort(&port), c.answer);
        EXPECT_EQ(port, c.held);
        EXPECT_EQ(loggedCannotListen(c.port), c.kind == siTcpServer && c.held == 0);
        if (c.held != 0) {
            ASSERT_EQ(g.control->Run(), S_OK);
            EXPECT_EQ(listener->GetListeningPort(&port), S_OK);
            EXPECT_EQ(port, c.held);
            ASSERT_EQ(g.control->Stop(), S_OK);
        }
    }
    EXPECT_FALSE(fw_test::AcceptTcp(taken.get(), 0ms)) << "a sink reached the other program";

    fw_test::TSinkGraph g({fw_test::AudioType(48000, 2)});
    ComPtr<IOrbelleListener> listener;
    ASSERT_EQ(g.sink.As(listener), S_OK);
    g.Setup(takenPort, 32768, false, ftUnk, 0, siTcpServer);
    int32_t port = -1;
    EXPECT_EQ(listener->GetListeningPort(&port), S_FALSE);
    taken.Reset();
    g.Setup(takenPort, 32768, false, ftUnk, 0, siTcpServer);
    EXPECT_EQ(listener->GetListeningPort(&port), S_OK);
    EXPECT_EQ(port, takenPort);
    dshow::SetLogHandler({});
}

// Garbage in every slot, addresses of no interface, ports that another program holds: each sink runs,
// takes its samples and stops; nothing crashes and no thread is left once the graphs are gone.
TEST(SinkBadInput, GarbageSettingsAndTakenPortsDoNoHarm) {
    fw_test::TFd taken = fw_test::ListenTcp(fw_test::FreeTcpPort());
    ASSERT_TRUE(taken);
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    ::getsockname(taken.get(), reinterpret_cast<sockaddr*>(&bound), &length);
    const int takenPort = ntohs(bound.sin_port);
    const int32_t kNoInterface = 0x01020304;  // 1.2.3.4
    int udpPort = 0;
    fw_test::TFd udp = fw_test::UdpReceiver(&udpPort);

    const struct {
        const char* name;
        int32_t port, addr, buffer;
        uint32_t header, format;
        int32_t payloadType;
        uint32_t kind;
    } cases[] = {
        {"every slot garbage", -77, int32_t(0xDEADBEEF), INT_MIN, 0xFFFFFF00, 0x12345678, -1, 0xABCDEF42},
        {"tcp server on an address of no interface", takenPort, kNoInterface, 0, 1, 0xFF, 0, siTcpServer},
        {"web socket on an address of no interface", takenPort, kNoInterface, -5, 0, 0, 0, siWebSocket},
        {"tcp server on a port another program holds", takenPort, 2130706433, 70000, 1, 5, 0, siTcpServer},
        {"web socket on a port another program holds", takenPort, 2130706433, 1, 1, 2, 0, siWebSocket},
        {"tcp client to a port nobody listens on", fw_test::FreeTcpPort(), 2130706433, 1, 0, 0, 0, siTcpClient},
        {"rtp with a chunk of one byte and payload type 999", udpPort, 2130706433, 1, 1, 0, 999, siRtp},
        {"port 0 and garbage in the upper bytes of the kind", 0, 2130706433, 0, 0x100, 0x106, 33, 0x7F7F7F01},
    };
    constexpr uint32_t kPushed = 30;
    const size_t threadsBefore = fw_test::ThreadCount();
    {
        std::vector<std::unique_ptr<fw_test::TSinkGraph>> graphs;
        for (const auto& c : cases) {
            auto g = std::make_unique<fw_test::TSinkGraph>(std::vector<dshow::TMediaType>{fw_test::AudioType(48000, 2)});
            ASSERT_TRUE(g->data) << c.name;
            EXPECT_EQ(g->data->SetupDravenel(c.port, c.addr, c.buffer, c.header, c.format, c.payloadType, c.kind), S_OK);
            ASSERT_EQ(g->control->Run(), S_OK) << c.name;
            graphs.push_back(std::move(g));
        }
        // Past the discard window and the time the servers try to listen: every failure has shown itself.
        for (uint32_t i = 0; i < kPushed; ++i) {
            for (auto& g : graphs) g->Push(fw_test::NumberedSample(i, kSampleBytes));
            std::this_thread::sleep_for(120ms);
        }
        for (size_t i = 0; i < graphs.size(); ++i) {
            SCOPED_TRACE(cases[i].name);
            EXPECT_TRUE(graphs[i]->WaitDelivered(kPushed));
            const TDravenelStats stats = graphs[i]->Stats();
            EXPECT_EQ(stats.InpSamples, kPushed);
            EXPECT_EQ(stats.InpBytes, kPushed * int64_t{kSampleBytes});
            EXPECT_LE(stats.OutpBytes, kPushed * int64_t{kHeaderBytes + kSampleBytes});
            EXPECT_EQ(graphs[i]->control->Stop(), S_OK);
        }
        // Nothing of the sinks reached the program that holds the port.
        EXPECT_FALSE(fw_test::AcceptTcp(taken.get(), 0ms));
        // The RTP sink sent whole datagrams: the chunk of one byte leaves no payload and takes the default.
        const auto datagram = fw_test::ReceiveDatagram(udp.get(), 1s);
        ASSERT_TRUE(datagram);
        EXPECT_EQ(datagram->size(), 12 + kHeaderBytes + kSampleBytes);
        EXPECT_EQ((*datagram)[1], 999 & 0xFF);
    }
    EXPECT_TRUE(fw_test::WaitUntil([&] { return fw_test::ThreadCount() <= threadsBefore; }, 5s))
        << fw_test::ThreadCount() << " threads, " << threadsBefore << " before";
}

// While a reader takes the samples, a thousand clients connect and leave at once (web-socket clients
// now and then after their handshake). The server keeps serving, the reader's samples come in order
// and whole, the statistics add up, and once the graph is gone so are its threads.
TEST(SinkBadInput, AThousandClientsComingAndGoingDuringRun) {
    for (const TSinkInterface kind : {siTcpServer, siWebSocket}) {
        SCOPED_TRACE(KindName(kind));
        constexpr int kChurningClients = 1000;
        constexpr uint32_t kDuringChurn = 200, kAfterChurn = 20;
        const size_t threadsBefore = fw_test::ThreadCount();
        {
            const int port = fw_test::FreeTcpPort();
            fw_test::TSinkGraph g({fw_test::AudioType(48000, 2)});
            g.Setup(port, 32768, true, ftUnk, 0, kind);
            ASSERT_EQ(g.control->Run(), S_OK);
            TPeer reader(kind, port);
            ASSERT_TRUE(reader.Connect());
            if (DiscardsAtFirst(kind)) std::this_thread::sleep_for(kPastTheDiscardWindow);

            std::atomic<int> connected{0};
            std::thread churn([&] {
                for (int i = 0; i < kChurningClients; ++i) {
                    if (kind == siWebSocket && i % 10 == 0) {
                        fw_test::TWsTestClient client;
                        if (client.Connect(port, 2s)) ++connected;
                    } else if (fw_test::ConnectTcp(port, 2s)) {
                        ++connected;
                    }
                }
            });
            std::vector<uint32_t> got;
            std::thread reading([&] {
                while (const auto n = reader.Next(10s)) {
                    got.push_back(*n);
                    if (*n == kDuringChurn + kAfterChurn - 1) break;
                }
            });
            for (uint32_t i = 0; i < kDuringChurn; ++i) {
                g.Push(fw_test::NumberedSample(i, kSampleBytes));
                std::this_thread::sleep_for(2ms);
            }
            churn.join();
            EXPECT_EQ(connected, kChurningClients);
            // With nobody else left, every further sample reaches the reader.
            std::this_thread::sleep_for(200ms);
            for (uint32_t i = kDuringChurn; i < kDuringChurn + kAfterChurn; ++i) {
                g.Push(fw_test::NumberedSample(i, kSampleBytes));
                std::this_thread::sleep_for(2ms);
            }
            reading.join();

            ASSERT_GE(got.size(), kAfterChurn);
            for (size_t i = 1; i < got.size(); ++i) EXPECT_LT(got[i - 1], got[i]) << "out of order or twice";
            const std::vector<uint32_t> tail(got.end() - kAfterChurn, got.end());
            for (uint32_t i = 0; i < kAfterChurn; ++i) EXPECT_EQ(tail[i], kDuringChurn + i);

            // Every sample went out at most once, whole, one write or message each (the output counts
            // a sample once its send has returned, perhaps after the reader has it).
            TDravenelStats stats{};
            EXPECT_TRUE(fw_test::WaitUntil(
                [&] {
                    stats = g.Stats();
                    return stats.OutpSamples >= static_cast<int64_t>(got.size()) &&
                           stats.OutpBytes == stats.OutpSamples * int64_t{kHeaderBytes + kSampleBytes};
                },
                2s))
                << stats.OutpSamples << " samples, " << stats.OutpBytes << " bytes, " << got.size() << " read";
            EXPECT_EQ(stats.InpSamples, kDuringChurn + kAfterChurn);
            EXPECT_LE(stats.OutpSamples, stats.InpSamples);
            // The web socket sends every message to every client: the reader has each one that went out
            // (a sender that falls behind loses the oldest samples in the queue, never part of a message).
            if (kind == siWebSocket) {
                EXPECT_EQ(static_cast<int64_t>(got.size()), stats.OutpSamples);
            }
            ASSERT_EQ(g.control->Stop(), S_OK);
        }
        EXPECT_TRUE(fw_test::WaitUntil([&] { return fw_test::ThreadCount() <= threadsBefore; }, 5s))
            << fw_test::ThreadCount() << " threads, " << threadsBefore << " before";
    }
}
