// Clients that give up in every way a viewer can, against Framewick itself running as a second
// process with its own signal dispositions and a live HLS share: closing right after the request,
// after one byte, with a reset in the middle of the body, after a half-close, after reading slowly,
// and a hundred at once. Each ends its own connection only: the program goes on serving, and its
// threads and descriptors come back to where they were.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/program/framewick_child.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kCaptureOutputWithin = 90s;  // libVLC's start and the first segments, under the sanitizers
constexpr auto kCountsSettleWithin = 15s;
constexpr auto kLogLineWithin = 5s;      // the log list is written out once a second
constexpr auto kLogQueueDrained = 1500ms;
constexpr size_t kFewTasks = 8;        // libVLC and the snapshot thread come and go a little
constexpr size_t kFewDescriptors = 8;  // segments opened and closed by libVLC meanwhile
constexpr int kClientsAtOnce = 100;
constexpr size_t kSmallFileBytes = 64 * 1024 - 1;  // goes out with its header in one write
constexpr size_t kLargerFileBytes = 64 * 1024 + 1;  // header, then sendfile
constexpr size_t kMegabyteFileBytes = 1024 * 1024;
constexpr int kSlowReads = 5;
constexpr auto kSlowReadPause = 100ms;
constexpr int kSlowReceiveBufferBytes = 4096;
constexpr int kFirstClientPort = 20000;             // the test's client ports count up from here,
constexpr int kFirstServerPortOfTheKernel = 32768;  // below the ports the kernel hands out (web server)

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    return address;
}

// Binds fd to the next client port of the test's own: in the test's own network no client port is
// ever used twice, so a log line that names one names one connection.
bool BindNextClientPort(int fd) {
    static int next = kFirstClientPort;
    while (next < kFirstServerPortOfTheKernel) {
        const sockaddr_in address = Loopback(next++);
        if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return true;
    }
    return false;
}

int Connect(int port, int receiveBufferBytes = 0) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (receiveBufferBytes > 0) ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBufferBytes, sizeof receiveBufferBytes);
    const timeval wait{5, 0};  // no read of the test waits longer
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    const sockaddr_in address = Loopback(port);
    if (!BindNextClientPort(fd) || ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void SendGet(int fd, const std::string& document) {
    const std::string request = "GET " + document + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
}

size_t Receive(int fd, size_t bytes) {
    std::vector<char> buffer(std::max<size_t>(bytes, 1));
    const ssize_t n = ::recv(fd, buffer.data(), bytes, 0);
    return n > 0 ? static_cast<size_t>(n) : 0;
}

void CloseWithReset(int fd) {
    const linger reset{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    ::close(fd);
}

int LocalPort(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    return ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0 ? ntohs(address.sin_port) : 0;
}

// A log line that holds head and, after it, ends with tail.
bool HasLine(const std::string& text, const std::string& head, const std::string& tail) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t at = line.find(head);
        if (at != std::string::npos && line.size() >= at + head.size() + tail.size() && line.ends_with(tail)) return true;
    }
    return false;
}

// One viewer's way of giving up on document; the client port of its connection, 0 for many.
using TPeer = std::function<int(int port, const std::string& document)>;

struct TPeerCase {
    const char* Name;
    TPeer Run;
};

const TPeerCase kPeers[] = {
    {"close right after the request",
     [](int port, const std::string& document) {
         const int fd = Connect(port);
         SendGet(fd, document);
         const int client = LocalPort(fd);
         ::close(fd);
         return client;
     }},
    {"close after one byte",
     [](int port, const std::string& document) {
         const int fd = Connect(port);
         SendGet(fd, document);
         Receive(fd, 1);
         const int client = LocalPort(fd);
         ::close(fd);
         return client;
     }},
    {"reset in the middle of the body",
     [](int port, const std::string& document) {
         const int fd = Connect(port, kSlowReceiveBufferBytes);  // a larger file cannot be sent out yet
         SendGet(fd, document);
         Receive(fd, 4096);
         const int client = LocalPort(fd);
         CloseWithReset(fd);
         return client;
     }},
    {"half-close, then read the reply",
     [](int port, const std::string& document) {
         const int fd = Connect(port);
         SendGet(fd, document);
         ::shutdown(fd, SHUT_WR);
         while (Receive(fd, 64 * 1024) > 0) {
         }
         const int client = LocalPort(fd);
         ::close(fd);
         return client;
     }},
    {"read slowly, then close",
     [](int port, const std::string& document) {
         const int fd = Connect(port, kSlowReceiveBufferBytes);
         SendGet(fd, document);
         for (int i = 0; i < kSlowReads; ++i) {
             std::this_thread::sleep_for(kSlowReadPause);
             Receive(fd, 1024);
         }
         const int client = LocalPort(fd);
         ::close(fd);
         return client;
     }},
    {"a hundred at once, closed or reset",
     [](int port, const std::string& document) {
         std::vector<int> fds;
         for (int i = 0; i < kClientsAtOnce; ++i) {
             fds.push_back(Connect(port));
             SendGet(fds.back(), document);
         }
         for (size_t i = 0; i < fds.size(); ++i) {
             if (i % 2 == 0) {
                 ::close(fds[i]);
             } else {
                 Receive(fds[i], 1);
                 CloseWithReset(fds[i]);
             }
         }
         return 0;
     }},
};

// The status of a whole GET of document, read to its announced end; 0 when none came.
int FetchWhole(int port, const std::string& document) {
    const int fd = Connect(port);
    if (fd < 0) return 0;
    SendGet(fd, document);
    std::string reply;
    char buffer[64 * 1024];
    size_t headerEnd = std::string::npos;
    size_t length = 0;
    for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;) {
        reply.append(buffer, static_cast<size_t>(n));
        if (headerEnd == std::string::npos && (headerEnd = reply.find("\r\n\r\n")) != std::string::npos) {
            const size_t field = reply.find("Content-Length: ");
            length = field < headerEnd ? std::stoul(reply.substr(field + 16)) : 0;
        }
        if (headerEnd != std::string::npos && reply.size() >= headerEnd + 4 + length) break;
    }
    ::close(fd);
    if (headerEnd == std::string::npos || reply.size() < headerEnd + 4 + length || reply.rfind("HTTP/1.1 ", 0) != 0)
        return 0;
    return std::stoi(reply.substr(9, 3));
}

// A finished segment of the live stream: not the newest, which libVLC may still be writing (a segment
// being written is refused, and the refusal names no connection).
std::string FinishedSegment(const fs::path& share) {
    std::vector<std::pair<fs::file_time_type, std::string>> segments;
    std::error_code error;
    for (fs::directory_iterator it(share, error), end; !error && it != end; it.increment(error))
        if (it->path().extension() == ".ts") segments.emplace_back(it->last_write_time(error), it->path().filename());
    if (segments.size() < 2) return {};
    std::sort(segments.begin(), segments.end());
    return segments[segments.size() - 2].second;
}

// Holds count idle connections open until the program has a thread for each, then closes them: the
// connection-thread pool then keeps its most idle threads, as it does after any rush.
void FillThreadPool(int port, int pid, int count) {
    const size_t before = fw_test::TaskCount(pid);
    std::vector<int> fds;
    for (int i = 0; i < count; ++i) fds.push_back(Connect(port));
    fw_test::WaitUntil([&] { return fw_test::TaskCount(pid) >= before + static_cast<size_t>(count); }, 20s);
    for (int fd : fds) ::close(fd);
}

TEST(AbusiveClientsTest, EveryWayOfGivingUpEndsOnlyThatConnection) {
    fw_test::TempDir root;
    fw_test::FramewickChild program(root.path(), fw_test::FramewickChild::TCapture::ScreenArea);
    ASSERT_TRUE(program.ok());
    const int port = program.Port();
    fw_test::WriteFile(program.WebRoot() / "small.bin", std::string(kSmallFileBytes, 's'));
    fw_test::WriteFile(program.WebRoot() / "larger.bin", std::string(kLargerFileBytes, 'l'));
    fw_test::WriteFile(program.WebRoot() / "megabyte.bin", std::string(kMegabyteFileBytes, 'm'));

    auto framewick = program.Start();
    ASSERT_TRUE(framewick->running());
    std::string segment;
    ASSERT_TRUE(fw_test::WaitUntil([&] { return !(segment = FinishedSegment(program.Share())).empty(); },
                                   kCaptureOutputWithin))
        << "the capture wrote no HLS segments";
    ASSERT_EQ(FetchWhole(port, "/small.bin"), 200);
    EXPECT_TRUE(fw_test::IgnoresSignal(framewick->pid(), SIGPIPE)) << "the program keeps SIGPIPE's default";
    FillThreadPool(port, framewick->pid(), kClientsAtOnce);
    std::this_thread::sleep_for(1s);
    const size_t tasksBefore = fw_test::TaskCount(framewick->pid());
    const size_t descriptorsBefore = fw_test::DescriptorCount(framewick->pid());

    // The transfer's line names the file and the very connection, whole or cut short.
    const auto expectTransferLines = [&](const std::string& path, const std::vector<std::pair<std::string, int>>& clients) {
        for (const auto& [peer, client] : clients) {
            EXPECT_TRUE(fw_test::WaitUntil(
                [&] {
                    return HasLine(program.LogText(), "Serving file " + path + " (",
                                   " bytes sent) to 127.0.0.1:" + std::to_string(client));
                },
                kLogLineWithin))
                << path << ": " << peer << ": no line about the transfer to client port " << client;
        }
    };
    for (const std::string& document :
         std::vector<std::string>{"/small.bin", "/larger.bin", "/megabyte.bin", "/live/" + segment}) {
        const std::string path = (program.WebRoot() / document.substr(1)).string();
        std::vector<std::pair<std::string, int>> clients;
        for (const TPeerCase& peer : kPeers) {
            SCOPED_TRACE(document + ": " + peer.Name);
            const int client = peer.Run(port, document);
            ASSERT_TRUE(framewick->running()) << "the program ended";
            if (client != 0) {
                clients.emplace_back(peer.Name, client);
                continue;
            }
            // A crowd: the log list keeps a hundred lines a second, so the single connections'
            // lines are looked for first, and the crowd's are written out before the next file.
            expectTransferLines(path, clients);
            clients.clear();
            std::this_thread::sleep_for(kLogQueueDrained);
        }
        expectTransferLines(path, clients);
    }
    // A transfer the client gave up on is logged as such.
    const std::string megabyte = (program.WebRoot() / "megabyte.bin").string();
    EXPECT_NE(program.LogText().find("general error - serve file : " + megabyte), std::string::npos);

    // And it goes on serving: a whole reply, read to its end.
    EXPECT_EQ(FetchWhole(port, "/larger.bin"), 200);
    EXPECT_TRUE(fw_test::WaitUntil(
        [&] { return fw_test::TaskCount(framewick->pid()) <= tasksBefore + kFewTasks; }, kCountsSettleWithin))
        << fw_test::TaskCount(framewick->pid()) << " tasks, " << tasksBefore << " before";
    EXPECT_TRUE(fw_test::WaitUntil(
        [&] { return fw_test::DescriptorCount(framewick->pid()) <= descriptorsBefore + kFewDescriptors; },
        kCountsSettleWithin))
        << fw_test::DescriptorCount(framewick->pid()) << " descriptors, " << descriptorsBefore << " before";
    EXPECT_GE(fw_test::TaskCount(framewick->pid()) + kFewTasks, tasksBefore);
    EXPECT_TRUE(framewick->running());
}

}  // namespace
