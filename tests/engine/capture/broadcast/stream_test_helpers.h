// What the tests of the published streams share: loopback sockets, a raw-picture source for libVLC, a
// UDP receiver that checks for whole transport-stream packets, and the segments a playlist lists.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/test_env.h"

namespace fw_test {

constexpr size_t kTsPacketSize = 188;
constexpr unsigned char kTsSyncByte = 0x47;

// A socket bound to 127.0.0.1:port (listening for SOCK_STREAM); -1 when the port is taken.
inline int ListeningSocket(int port, int type) {
    const int fd = socket(AF_INET, type, 0);
    const int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return -1;
    }
    if (type == SOCK_STREAM) listen(fd, 4);
    return fd;
}

constexpr int kRawWidth = 160;
constexpr int kRawHeight = 112;
constexpr int kRawFps = 20;

// Serves moving YV12 pictures to every client that connects, as the capture graph's sink does. Every
// picture begins with two black pixels: libVLC looks at the first bytes of a stream for compression
// headers, and a moving pattern may happen to form one (0x18 0x19 reads as zlib), which would end
// the stream at once.
class RawVideoServer {
public:
    explicit RawVideoServer(int port) : fd_(ListeningSocket(port, SOCK_STREAM)), thread_([this] { Run(); }) {}
    ~RawVideoServer() {
        stop_ = true;
        thread_.join();
        close(fd_);
    }
    bool ok() const { return fd_ >= 0; }

private:
    static constexpr unsigned char kBlackLuma = 16;

    void Run() {
        std::vector<unsigned char> frame(kRawWidth * kRawHeight * 3 / 2, 128);
        int client = -1;
        for (int n = 0; !stop_; ++n) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 0) > 0) {
                if (client >= 0) close(client);
                client = accept(fd_, nullptr, nullptr);
            }
            if (client >= 0) {
                for (int i = 0; i < kRawWidth * kRawHeight; ++i) {
                    frame[i] = static_cast<unsigned char>(i % kRawWidth + n * 3);
                }
                frame[0] = frame[1] = kBlackLuma;
                if (send(client, frame.data(), frame.size(), MSG_NOSIGNAL) < 0) {
                    close(client);
                    client = -1;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1000 / kRawFps));
        }
        if (client >= 0) close(client);
    }

    int fd_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Counts datagrams on a loopback port and checks that each is made of whole TS packets.
class UdpReceiver {
public:
    explicit UdpReceiver(int port) : fd_(ListeningSocket(port, SOCK_DGRAM)), thread_([this] { Run(); }) {}
    ~UdpReceiver() {
        stop_ = true;
        thread_.join();
        if (fd_ >= 0) close(fd_);
    }
    bool ok() const { return fd_ >= 0; }
    int datagrams() const { return datagrams_; }
    int malformed() const { return malformed_; }

private:
    void Run() {
        std::vector<unsigned char> buffer(65536);
        while (!stop_ && fd_ >= 0) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0) continue;
            const ssize_t n = recv(fd_, buffer.data(), buffer.size(), 0);
            if (n <= 0) continue;
            bool whole = n % kTsPacketSize == 0;
            for (ssize_t at = 0; whole && at < n; at += kTsPacketSize) whole = buffer[at] == kTsSyncByte;
            (whole ? datagrams_ : malformed_)++;
        }
    }

    int fd_;
    std::atomic<bool> stop_{false};
    std::atomic<int> datagrams_{0};
    std::atomic<int> malformed_{0};
    std::thread thread_;
};

// The segments the playlist lists, with their durations.
inline std::vector<std::pair<double, std::string>> PlaylistSegments(const std::string& playlist) {
    std::vector<std::pair<double, std::string>> segments;
    std::istringstream lines(playlist);
    std::string line;
    double seconds = -1;
    while (std::getline(lines, line)) {
        if (line.starts_with("#EXTINF:")) {
            seconds = std::atof(line.c_str() + 8);
        } else if (seconds >= 0 && !line.empty() && line[0] != '#') {
            segments.emplace_back(seconds, line);
            seconds = -1;
        }
    }
    return segments;
}

}  // namespace fw_test
