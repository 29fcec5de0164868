// The sink as hosts get it: libOrbelle32.so registered in the test's own registry by the registration
// command, created by class identifier inside a graph behind a push source; and small loopback peers.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/dshow/dshow.h"
#include "sinkfilter/if_orbelle.h"
#include "tests/platform/dshow/test_push_source.h"

namespace fw_test {

std::string OrbelleLibraryPath();
// Runs the registration command on the library (or with -u); true when it succeeded.
bool RegisterOrbelle(bool unregister = false, std::string* output = nullptr);

struct TSinkGraph {
    ComPtr<IGraphBuilder> graph;
    ComPtr<IMediaControl> control;
    ComPtr<IBaseFilter> source, sink;
    ComPtr<IOrbelleData> data;
    TPushStream* stream = nullptr;

    explicit TSinkGraph(std::vector<dshow::TMediaType> types, long bufferBytes = 2 * 1024 * 1024);
    ~TSinkGraph();
    TSinkGraph(const TSinkGraph&) = delete;
    TSinkGraph& operator=(const TSinkGraph&) = delete;

    void Setup(int port, int buffer, bool header, TFormatTypes format, int rtpPayloadType, TSinkInterface kind);
    void Push(std::vector<uint8_t> data,
              std::optional<std::pair<REFERENCE_TIME, REFERENCE_TIME>> times = std::nullopt);
    // Waits until the source has handed every pushed sample to the sink.
    bool WaitDelivered(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    TDravenelStats Stats();
};

// size bytes: the number (little-endian) in the first four, then a pattern from the number.
std::vector<uint8_t> NumberedSample(uint32_t number, size_t size);
uint32_t SampleNumber(const std::vector<uint8_t>& sample);

// A descriptor that closes itself.
class TFd {
public:
    explicit TFd(int fd = -1) : fd_(fd) {}
    ~TFd();
    TFd(TFd&& o) noexcept : fd_(std::exchange(o.fd_, -1)) {}
    TFd& operator=(TFd&& o) noexcept;
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    void Reset();

private:
    int fd_;
};

// A UDP socket on 127.0.0.1 and a free port.
TFd UdpReceiver(int* port);
std::optional<std::vector<uint8_t>> ReceiveDatagram(int fd, std::chrono::milliseconds timeout);
// A connection to 127.0.0.1:port, retried until the time is up.
TFd ConnectTcp(int port, std::chrono::milliseconds timeout = std::chrono::seconds(5));
// One attempt: true when something listens on 127.0.0.1:port.
bool AcceptsTcp(int port);
// Reads (and drops) what still arrives until the peer closes: true when it did within the time.
bool ConnectionEnds(int fd, std::chrono::milliseconds timeout);
TFd ListenTcp(int port);
TFd AcceptTcp(int listener, std::chrono::milliseconds timeout);
bool ReadExactly(int fd, uint8_t* out, size_t size, std::chrono::milliseconds timeout);

struct TFrame {
    std::vector<uint8_t> header;  // 48 bytes
    std::vector<uint8_t> payload;
};
// One "TSRQ" frame from a TCP stream; empty on time-out, a closed connection or a bad magic.
std::optional<TFrame> ReadFrame(int fd, std::chrono::milliseconds timeout);
uint64_t LittleEndian(const std::vector<uint8_t>& bytes, size_t at, size_t width);

}  // namespace fw_test
