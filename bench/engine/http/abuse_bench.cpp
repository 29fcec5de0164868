// Requests per second of the small page at 50 keep-alive clients while 20 clients a second give up
// on a 1 MB download (closing right after the request, after a few bytes, or with a reset in the
// middle of the body), for our web server and for nginx serving the same folder; first without the
// abuse, then with it. Both must still answer afterwards. This process keeps SIGPIPE's default
// disposition: a SIGPIPE that our server let through would end the benchmark.
//
//   engine_http_abuse_bench [seconds per run, default 3]
#include <netinet/in.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "bench/engine/http/keep_alive_clients.h"
#include "bench/engine/http/logged_web_server.h"
#include "bench/support/nginx_child.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPageClients = 50;
constexpr int kAbortsPerSecond = 20;
constexpr size_t kDownloadBytes = 1024 * 1024;
constexpr size_t kBytesReadBeforeGivingUp = 16 * 1024;
constexpr int kReceiveBufferBytes = 4096;  // the download cannot be in the socket's buffers yet
constexpr const char* kPage = "/index.html";
constexpr const char* kDownload = "/download.bin";

// One viewer giving up on the download, in the way its number picks.
void GiveUp(int port, long number) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &kReceiveBufferBytes, sizeof kReceiveBufferBytes);
    const timeval wait{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = std::string("GET ") + kDownload + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
        char buffer[kBytesReadBeforeGivingUp];
        switch (number % 3) {
            case 0:  // closes right after the request
                break;
            case 1:  // reads a little, then closes
                ::recv(fd, buffer, sizeof buffer, 0);
                break;
            default: {  // reads a little, then resets
                ::recv(fd, buffer, sizeof buffer, 0);
                const linger reset{1, 0};
                ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
            }
        }
    }
    ::close(fd);
}

// 20 give-ups a second on port while it runs.
class TAbusers {
public:
    explicit TAbusers(int port)
        : thread_([this, port] {
              auto next = std::chrono::steady_clock::now();
              while (!stop_) {
                  GiveUp(port, count_++);
                  next += std::chrono::milliseconds(1000 / kAbortsPerSecond);
                  std::this_thread::sleep_until(next);
              }
          }) {}
    ~TAbusers() { Stop(); }
    long Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return count_;
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<long> count_{0};
    std::thread thread_;
};

struct TRun {
    fw_bench::TFigures Clean, Abused;
    long GaveUp = 0;
    bool AnswersAfter = false;
};

TRun Measure(int port, std::chrono::milliseconds duration) {
    TRun run;
    run.Clean = fw_bench::MeasureKeepAliveClients(port, kPage, kPageClients, duration);
    TAbusers abusers(port);
    run.Abused = fw_bench::MeasureKeepAliveClients(port, kPage, kPageClients, duration);
    run.GaveUp = abusers.Stop();
    run.AnswersAfter = fw_bench::AnswersGet(port, kPage) && fw_bench::AnswersGet(port, kDownload);
    return run;
}

void Print(const char* name, const TRun& run) {
    std::printf("%-6s | %12.0f | %12.0f | %5.0f%% | %8ld | %s", name, run.Clean.RequestsPerSecond,
                run.Abused.RequestsPerSecond,
                run.Clean.RequestsPerSecond > 0 ? 100 * run.Abused.RequestsPerSecond / run.Clean.RequestsPerSecond : 0,
                run.GaveUp, run.AnswersAfter ? "yes" : "NO");
    if (run.Clean.Failures || run.Abused.Failures)
        std::printf("  (failed page requests: %ld / %ld)", run.Clean.Failures, run.Abused.Failures);
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const std::chrono::milliseconds duration(static_cast<long>(1000 * (argc > 1 ? std::atof(argv[1]) : 3.0)));
    char pattern[] = "/tmp/fw-http-abuse-bench-XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    const fs::path work = pattern;
    const fs::path root = work / "htdocs";
    fs::create_directories(root);
    std::ofstream(root / "download.bin", std::ios::binary) << std::string(kDownloadBytes, 'D');
    std::ofstream(root / "index.html") << "<html><head><title>capture</title></head><body><img src=\"/share/"
                                          "capimg_2130706433_80.png\" name=\"capimg\"></body></html>\n";
    int rc = 0;
    {
        fw_bench::TLoggedWebServer server(work, root);
        if (!server.Start()) return 1;
        std::unique_ptr<fw_bench::TNginxChild> nginx;
        const int nginxPort = fw_bench::FreeLoopbackPort();
        if (fw_bench::TNginxChild::Installed()) nginx = std::make_unique<fw_bench::TNginxChild>(work, root, nginxPort);
        const bool haveNginx = nginx && nginx->WaitReady();
        if (!haveNginx) std::printf("nginx not available: only our own figures follow\n");

        std::printf("small page, %d keep-alive clients; %d clients a second give up on a %zu-byte download\n",
                    kPageClients, kAbortsPerSecond, kDownloadBytes);
        std::printf("%-6s | %12s | %12s | %6s | %8s | %s\n", "server", "clean req/s", "abused req/s", "kept",
                    "gave up", "answers after");
        const TRun ours = Measure(server.Port(), duration);
        Print("ours", ours);
        if (haveNginx) {
            const TRun theirs = Measure(nginxPort, duration);
            Print("nginx", theirs);
            if (!theirs.AnswersAfter) rc = 1;
        }
        if (!ours.AnswersAfter) rc = 1;
    }
    std::error_code ec;
    fs::remove_all(work, ec);
    return rc;
}
