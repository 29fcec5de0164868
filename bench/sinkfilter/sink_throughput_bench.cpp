// Sink throughput on loopback, UDP and TCP-server output, 64 KB and 1 MB samples, side by side with a
// plain socket pump that makes the same sends from one thread: the same datagrams with the same 1 ms
// pause after each, or whole samples written to a socket with the same send buffer. Samples are fed
// through a graph into the filter; the feeder keeps at most InFlightSamples samples ahead of the
// receiver, so nothing is dropped, and the figure is what the receiver gets per second. Beside it, the
// CPU time the whole process (sender, receiver and, for the sink, its streaming thread and server)
// spends per GB: what the sink costs on a machine that has no core to spare.
//
// What holds the TCP server back: every sample is copied into the sink's queue on the streaming thread
// and handed from that thread to the server's, which writes it, where the pump just writes its one
// buffer. Each byte is copied once more and crosses from one core to another once more. When the two
// threads run on cores that share a cache and the machine has cores to spare, the copy overlaps with
// the writing and costs the sink about 40% more CPU time per byte than the pump: it keeps pace. When
// they run on cores apart, or every core is busy, the sink spends about twice the pump's CPU time per
// byte and its rate falls to about two thirds. Small samples are written several to one system call,
// which the pump, one send per sample, does not do.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/dshow/dshow.h"
#include "sinkfilter/orbelle.h"
#include "sinkfilter/sink_module.h"
#include "sinkfilter/sink_settings.h"
#include "sinkfilter/sink_thread.h"
#include "tests/platform/dshow/test_push_source.h"

using namespace std::chrono;
using namespace std::chrono_literals;

namespace {

// At most half the sink's queue (nothing is dropped) and a few MB, as a live source keeps it: what is
// in flight then stays in the processor's cache, as the pump's one buffer does.
constexpr size_t kMaxInFlightSamples = 50;
constexpr size_t kMaxInFlightBytes = 8 << 20;

size_t InFlightSamples(size_t sampleBytes) {
    return std::clamp<size_t>(kMaxInFlightBytes / sampleBytes, 2, kMaxInFlightSamples);
}
// Loopback figures vary with what else the machine does; each side keeps its best of several runs,
// alternating, which on a shared machine comes closest to what each can do with the cores it needs. A
// UDP run is paced (and long), a TCP run is short.
constexpr int kUdpRounds = 3;
constexpr int kTcpRounds = 11;
constexpr size_t kChunk = 32768;

struct TCase {
    const char* name;
    TSinkInterface kind;
    size_t sampleBytes;
    size_t samples;
    // The source copies every sample into its media buffer, on the streaming thread that then makes
    // the sink's copy too; otherwise it makes its output in place, as a filter upstream of the sink does.
    bool sourceCopiesEach = false;
};

struct TFigures {
    double megabytesPerSecond;
    double cpuSecondsPerGigabyte;
};

// CPU time of the whole process, user and system.
double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

TFigures Figures(size_t bytes, double seconds, double cpuSeconds) {
    return {static_cast<double>(bytes) / seconds / 1e6, cpuSeconds / (static_cast<double>(bytes) / 1e9)};
}

sockaddr_in Loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

int BoundPort(int fd) {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    return ntohs(a.sin_port);
}

// Counts what arrives on a UDP socket or a TCP connection until told to stop; a waiter on `bytes` is
// woken at every arrival.
struct TReceiver {
    int fd = -1;
    std::atomic<size_t> bytes{0};
    std::atomic<bool> stop{false};
    std::thread thread;

    void Start() {
        timeval tv{0, 100000};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        thread = std::thread([this] {
            std::vector<uint8_t> buf(1 << 20);
            while (!stop) {
                const ssize_t n = recv(fd, buf.data(), buf.size(), 0);
                if (n > 0) {
                    bytes += static_cast<size_t>(n);
                    bytes.notify_all();
                } else if (n == 0) {
                    break;
                }
            }
        });
    }
    ~TReceiver() {
        stop = true;
        if (thread.joinable()) thread.join();
        if (fd >= 0) close(fd);
    }
};

int UdpSocket(int port) {
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    const int big = 16 << 20;
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &big, sizeof big);
    sockaddr_in a = Loopback(port);
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    return fd;
}

int ConnectTcp(int port) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = Loopback(port);
        if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return fd;
        close(fd);
        std::this_thread::sleep_for(10ms);
    }
    return -1;
}

int FreePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = Loopback(0);
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    const int port = BoundPort(fd);
    close(fd);
    return port;
}

// Keeps the feeder no more than InFlightSamples samples ahead of the receiver. Once it is that far
// ahead it sleeps until the receiver has caught up half the way, so that it pushes in bursts: a feeder
// that spins, or wakes for every sample, takes a core from the threads it measures.
void Throttle(const TReceiver& r, size_t sent, size_t sampleBytes) {
    const size_t window = InFlightSamples(sampleBytes);
    if (sent < window || r.bytes.load() >= (sent - window + 1) * sampleBytes) return;
    const size_t wanted = (sent - window / 2) * sampleBytes;
    for (size_t got = r.bytes.load(); got < wanted; got = r.bytes.load()) r.bytes.wait(got);
}

double WaitAll(const TReceiver& r, size_t total, steady_clock::time_point start) {
    const auto deadline = steady_clock::now() + 60s;
    while (r.bytes < total && steady_clock::now() < deadline) std::this_thread::sleep_for(100us);
    return duration<double>(steady_clock::now() - start).count();
}

TFigures SinkRun(const TCase& c) {
    const int port = FreePort();
    ComPtr<IBaseFilter> sink;
    dshow::QueryNewObject(static_cast<dshow::TBaseRenderer*>(
                              new sinkfilter::Orbelle(sinkfilter::SinkModule(), sinkfilter::SteadySinkClock())),
                          IID_IBaseFilter, sink.PutVoid());
    ComPtr<IOrbelleData> data;
    sink.As(data);
    data->SetupDravenel(port, 2130706433, kChunk, 0, ftUnk, 33, c.kind);

    fw_test::TPushStream* stream = nullptr;
    auto source = fw_test::TPushSource::Create({fw_test::AudioType(48000, 2)}, static_cast<long>(c.sampleBytes), &stream);
    ComPtr<IGraphBuilder> graph;
    CoCreate(CLSID_FilterGraph, graph);
    ComPtr<IMediaControl> control;
    graph.As(control);
    graph->AddFilter(source.Get(), "Source");
    graph->AddFilter(sink.Get(), "Sink");
    graph->Connect(fw_test::FirstPin(source.Get(), PINDIR_OUTPUT).Get(), fw_test::FirstPin(sink.Get(), PINDIR_INPUT).Get());

    TReceiver r;
    r.fd = c.kind == siUdpClient ? UdpSocket(port) : ConnectTcp(port);
    r.Start();
    control->Run();
    if (c.kind == siUdpClient) std::this_thread::sleep_for(sinkfilter::kDiscardWindow + 200ms);

    // One buffer for every sample, as the pump sends one; the feeder adds no copy of its own.
    const auto sample = std::make_shared<const std::vector<uint8_t>>(c.sampleBytes, 0x5A);
    const double cpuBefore = ProcessCpuSeconds();
    const auto start = steady_clock::now();
    for (size_t i = 0; i < c.samples; ++i) {
        Throttle(r, i, c.sampleBytes);
        stream->Push({.shared = sample, .inPlace = !c.sourceCopiesEach});
    }
    const double seconds = WaitAll(r, c.samples * c.sampleBytes, start);
    const TFigures figures = Figures(r.bytes, seconds, ProcessCpuSeconds() - cpuBefore);
    control->Stop();
    return figures;
}

TFigures PumpRun(const TCase& c) {
    const int port = FreePort();
    TReceiver r;
    int sender = -1, listener = -1;
    if (c.kind == siUdpClient) {
        r.fd = UdpSocket(port);
        sender = socket(AF_INET, SOCK_DGRAM, 0);
    } else {
        listener = socket(AF_INET, SOCK_STREAM, 0);
        const int one = 1;
        setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        // The same send buffer as the sink's server sets on its listening socket.
        const int sendBuffer = 0xFFFFF;
        setsockopt(listener, SOL_SOCKET, SO_SNDBUF, &sendBuffer, sizeof sendBuffer);
        sockaddr_in a = Loopback(port);
        bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(listener, 1);
        r.fd = ConnectTcp(port);
        sender = accept(listener, nullptr, nullptr);
    }
    r.Start();
    const sockaddr_in to = Loopback(port);
    const std::vector<uint8_t> sample(c.sampleBytes, 0x5A);
    const double cpuBefore = ProcessCpuSeconds();
    const auto start = steady_clock::now();
    for (size_t i = 0; i < c.samples; ++i) {
        if (c.kind == siUdpClient) {
            Throttle(r, i, c.sampleBytes);  // a TCP pump is held back by its socket alone
            for (size_t off = 0; off < sample.size(); off += kChunk) {
                const size_t n = std::min(kChunk, sample.size() - off);
                sendto(sender, sample.data() + off, n, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
                std::this_thread::sleep_for(sinkfilter::kChunkPauseMs);
            }
        } else {
            size_t off = 0;
            while (off < sample.size()) {
                const ssize_t n = send(sender, sample.data() + off, sample.size() - off, MSG_NOSIGNAL);
                if (n <= 0) break;
                off += static_cast<size_t>(n);
            }
        }
    }
    const double seconds = WaitAll(r, c.samples * c.sampleBytes, start);
    const TFigures figures = Figures(r.bytes, seconds, ProcessCpuSeconds() - cpuBefore);
    close(sender);
    if (listener >= 0) close(listener);
    return figures;
}

}  // namespace

int main() {
    const TCase cases[] = {
        {"UDP client, 64 KB samples", siUdpClient, 64 << 10, 300},
        {"UDP client, 1 MB samples", siUdpClient, 1 << 20, 20},
        {"TCP server, 64 KB samples", siTcpServer, 64 << 10, 8000},
        {"TCP server, 1 MB samples", siTcpServer, 1 << 20, 600},
        {"  the same, source copying", siTcpServer, 1 << 20, 600, true},
    };
    std::printf("%-28s %10s %10s %6s %14s %14s   (best of %d alternating TCP runs, 3 UDP)\n", "case", "sink MB/s", "pump MB/s",
                "ratio", "sink CPU s/GB", "pump CPU s/GB", kTcpRounds);
    for (const TCase& c : cases) {
        TFigures sink{0, 1e9}, pump{0, 1e9};
        const int rounds = c.kind == siUdpClient ? kUdpRounds : kTcpRounds;
        for (int round = 0; round < rounds; ++round) {
            for (auto [run, best] : {std::pair{&SinkRun, &sink}, std::pair{&PumpRun, &pump}}) {
                const TFigures f = run(c);
                best->megabytesPerSecond = std::max(best->megabytesPerSecond, f.megabytesPerSecond);
                best->cpuSecondsPerGigabyte = std::min(best->cpuSecondsPerGigabyte, f.cpuSecondsPerGigabyte);
            }
        }
        std::printf("%-28s %10.1f %10.1f %5.0f%% %14.2f %14.2f\n", c.name, sink.megabytesPerSecond,
                    pump.megabytesPerSecond, 100.0 * sink.megabytesPerSecond / pump.megabytesPerSecond,
                    sink.cpuSecondsPerGigabyte, pump.cpuSecondsPerGigabyte);
    }
    return 0;
}
