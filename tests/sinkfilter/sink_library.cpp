#include "tests/sinkfilter/sink_library.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/test_env.h"

namespace fw_test {

std::string OrbelleLibraryPath() { return std::string(FW_BIN_DIR) + "/libOrbelle32.so"; }

bool RegisterOrbelle(bool unregister, std::string* output) {
    std::vector<std::string> argv{std::string(FW_BIN_DIR) + "/fwregsvr"};
    if (unregister) argv.push_back("-u");
    argv.push_back(OrbelleLibraryPath());
    return RunProgram(argv, output) == 0;
}

TSinkGraph::TSinkGraph(std::vector<dshow::TMediaType> types, long bufferBytes) {
    EXPECT_EQ(CoCreate(CLSID_FilterGraph, graph), S_OK);
    graph.As(control);
    source = TPushSource::Create(std::move(types), bufferBytes, &stream);
    EXPECT_EQ(CoCreate(CLSID_Orbelle, sink), S_OK);
    if (!sink) return;
    EXPECT_EQ(sink.As(data), S_OK);
    graph->AddFilter(source.Get(), "Source");
    graph->AddFilter(sink.Get(), "IP Sink");
    EXPECT_EQ(graph->Connect(FirstPin(source.Get(), PINDIR_OUTPUT).Get(), FirstPin(sink.Get(), PINDIR_INPUT).Get()),
              S_OK);
}

TSinkGraph::~TSinkGraph() {
    if (control) control->Stop();
}

void TSinkGraph::Setup(int port, int buffer, bool header, TFormatTypes format, int rtpPayloadType,
                       TSinkInterface kind) {
    ASSERT_TRUE(data);
    EXPECT_EQ(data->SetupDravenel(port, 2130706433, buffer, header ? 1 : 0, format, rtpPayloadType, kind), S_OK);
}

void TSinkGraph::Push(std::vector<uint8_t> bytes, std::optional<std::pair<REFERENCE_TIME, REFERENCE_TIME>> times) {
    stream->Push({std::move(bytes), times});
}

bool TSinkGraph::WaitDelivered(size_t count, std::chrono::milliseconds timeout) {
    return WaitUntil([&] { return stream->Delivered() >= count && stream->Pending() == 0; }, timeout);
}

TDravenelStats TSinkGraph::Stats() {
    TDravenelStats s{};
    data->GetStats(&s);
    return s;
}

std::vector<uint8_t> NumberedSample(uint32_t number, size_t size) {
    std::vector<uint8_t> v(size);
    for (size_t i = 0; i < size; ++i) v[i] = static_cast<uint8_t>(number * 7 + i);
    for (size_t i = 0; i < 4 && i < size; ++i) v[i] = static_cast<uint8_t>(number >> (8 * i));
    return v;
}

uint32_t SampleNumber(const std::vector<uint8_t>& sample) {
    return static_cast<uint32_t>(LittleEndian(sample, 0, 4));
}

uint64_t LittleEndian(const std::vector<uint8_t>& bytes, size_t at, size_t width) {
    uint64_t v = 0;
    for (size_t i = 0; i < width && at + i < bytes.size(); ++i) v |= static_cast<uint64_t>(bytes[at + i]) << (8 * i);
    return v;
}

TFd::~TFd() { Reset(); }

TFd& TFd::operator=(TFd&& o) noexcept {
    if (this != &o) {
        Reset();
        fd_ = std::exchange(o.fd_, -1);
    }
    return *this;
}

void TFd::Reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

namespace {

sockaddr_in Loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

bool WaitReadable(int fd, std::chrono::milliseconds timeout) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, static_cast<int>(timeout.count())) > 0;
}

}  // namespace

TFd UdpReceiver(int* port) {
    TFd fd(::socket(AF_INET, SOCK_DGRAM, 0));
    const int big = 8 * 1024 * 1024;
    ::setsockopt(fd.get(), SOL_SOCKET, SO_RCVBUF, &big, sizeof big);
    sockaddr_in a = Loopback(0);
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return TFd();
    socklen_t len = sizeof a;
    ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&a), &len);
    *port = ntohs(a.sin_port);
    return fd;
}

std::optional<std::vector<uint8_t>> ReceiveDatagram(int fd, std::chrono::milliseconds timeout) {
    if (!WaitReadable(fd, timeout)) return std::nullopt;
    std::vector<uint8_t> buf(70000);
    const ssize_t n = ::recv(fd, buf.data(), buf.size(), 0);
    if (n < 0) return std::nullopt;
    buf.resize(static_cast<size_t>(n));
    return buf;
}

TFd ConnectTcp(int port, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        TFd fd(::socket(AF_INET, SOCK_STREAM, 0));
        sockaddr_in a = Loopback(port);
        if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return fd;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
    return TFd();
}

bool AcceptsTcp(int port) {
    TFd fd(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in a = Loopback(port);
    return ::connect(fd.get(), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
}

bool ConnectionEnds(int fd, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<uint8_t> buf(1 << 16);
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !WaitReadable(fd, left)) return false;
        if (::recv(fd, buf.data(), buf.size(), 0) <= 0) return true;
    }
}

TFd ListenTcp(int port) {
    TFd fd(::socket(AF_INET, SOCK_STREAM, 0));
    const int one = 1;
    ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a = Loopback(port);
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(fd.get(), 8) != 0) return TFd();
    return fd;
}

TFd AcceptTcp(int listener, std::chrono::milliseconds timeout) {
    if (!WaitReadable(listener, timeout)) return TFd();
    return TFd(::accept(listener, nullptr, nullptr));
}

bool ReadExactly(int fd, uint8_t* out, size_t size, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    size_t got = 0;
    while (got < size) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !WaitReadable(fd, left)) return false;
        const ssize_t n = ::recv(fd, out + got, size - got, 0);
        if (n <= 0) return false;
        got += static_cast<size_t>(n);
    }
    return true;
}

std::optional<TFrame> ReadFrame(int fd, std::chrono::milliseconds timeout) {
    TFrame f;
    f.header.resize(48);
    if (!ReadExactly(fd, f.header.data(), 48, timeout)) return std::nullopt;
    if (std::memcmp(f.header.data(), "TSRQ", 4) != 0) return std::nullopt;
    f.payload.resize(LittleEndian(f.header, 4, 4));
    if (!ReadExactly(fd, f.payload.data(), f.payload.size(), timeout)) return std::nullopt;
    return f;
}

}  // namespace fw_test

namespace {

// Every program that uses the library registers it once in its own registry before its tests run.
class TOrbelleRegistration : public ::testing::Environment {
public:
    void SetUp() override {
        std::string output;
        ASSERT_TRUE(fw_test::RegisterOrbelle(false, &output)) << output;
    }
    void TearDown() override { CoFreeUnusedLibraries(); }
};

const auto* const g_registration = ::testing::AddGlobalTestEnvironment(new TOrbelleRegistration);

}  // namespace
