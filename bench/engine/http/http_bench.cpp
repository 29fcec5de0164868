// Requests per second and MB/s of the embedded web server for a 1 MB ".ts" segment and a small
// index.html with 1, 8, 50 and 200 keep-alive clients, side by side with nginx serving the same folder
// on another loopback port (when /usr/sbin/nginx is installed). Prints both figures and their ratio,
// after the cost of the file-in-use test that every GET makes before it sends a file; targets: at
// least 1.0x nginx for the segment and 0.9x for the small page. Our server logs every request into the
// log list as the program does.
//
//   engine_http_bench [seconds per run, default 2]
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "bench/engine/http/keep_alive_clients.h"
#include "bench/engine/http/logged_web_server.h"
#include "bench/support/nginx_child.h"
#include "engine/util/file_in_use.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kSegmentBytes = 1024 * 1024;
constexpr int kClientCounts[] = {1, 8, 50, 200};
constexpr double kSmallPageTarget = 0.9;
constexpr double kSegmentTarget = 1.0;
constexpr int kInUseCalls = 200'000;

// Microseconds per call of the file-in-use test: as a request makes it (on the descriptor it sends
// from) and by path (as the FTP mirror and the file-drop thread make it).
void PrintInUseCost(const fs::path& file) {
    using Clock = std::chrono::steady_clock;
    auto perCallUs = [](Clock::time_point from) {
        return std::chrono::duration<double, std::micro>(Clock::now() - from).count() / kInUseCalls;
    };
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    int inUse = 0;
    auto start = Clock::now();
    for (int i = 0; i < kInUseCalls; ++i) inUse += engine::IsOpenFileInUse(fd);
    const double onDescriptor = perCallUs(start);
    start = Clock::now();
    for (int i = 0; i < kInUseCalls; ++i) inUse += engine::IsFileInUse(file.string());
    const double byPath = perCallUs(start);
    ::close(fd);
    std::printf("file-in-use test: %.2f us per request (open descriptor), %.2f us by path%s\n", onDescriptor, byPath,
                inUse ? "  (a writer held the file!)" : "");
}

}  // namespace

int main(int argc, char** argv) {
    ::signal(SIGPIPE, SIG_IGN);
    std::chrono::milliseconds duration(static_cast<long>(1000 * (argc > 1 ? std::atof(argv[1]) : 2.0)));
    char pattern[] = "/tmp/fw-http-bench-XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    fs::path work = pattern;
    fs::path root = work / "htdocs";
    fs::create_directories(root);
    std::ofstream(root / "seg_1.ts", std::ios::binary) << std::string(kSegmentBytes, 'T');
    std::ofstream(root / "index.html") << "<html><head><title>capture</title></head><body><img src=\"/share/"
                                          "capimg_2130706433_80.png\" name=\"capimg\"></body></html>\n";
    PrintInUseCost(root / "seg_1.ts");

    fw_bench::TLoggedWebServer server(work, root);
    if (!server.Start()) return 1;
    const int ownPort = server.Port();

    std::unique_ptr<fw_bench::TNginxChild> nginx;
    int nginxPort = fw_bench::FreeLoopbackPort();
    if (fw_bench::TNginxChild::Installed()) nginx = std::make_unique<fw_bench::TNginxChild>(work, root, nginxPort);
    bool haveNginx = nginx && nginx->WaitReady();
    if (!haveNginx) std::printf("nginx not available: only our own figures follow\n");

    std::printf("%-12s %7s | %12s %10s | %12s %10s | %s\n", "file", "clients", "ours req/s", "ours MB/s",
                "nginx req/s", "nginx MB/s", "ratio");
    for (const char* target : {"/seg_1.ts", "/index.html"}) {
        for (int clients : kClientCounts) {
            fw_bench::TFigures ours = fw_bench::MeasureKeepAliveClients(ownPort, target, clients, duration);
            fw_bench::TFigures theirs =
                haveNginx ? fw_bench::MeasureKeepAliveClients(nginxPort, target, clients, duration) : fw_bench::TFigures{};
            double ratio = theirs.RequestsPerSecond > 0 ? ours.RequestsPerSecond / theirs.RequestsPerSecond : 0;
            double goal = std::string(target) == "/seg_1.ts" ? kSegmentTarget : kSmallPageTarget;
            std::printf("%-12s %7d | %12.0f %10.1f | %12.0f %10.1f | %6.0f%% (target %3.0f%%)", target, clients,
                        ours.RequestsPerSecond, ours.MegabytesPerSecond, theirs.RequestsPerSecond,
                        theirs.MegabytesPerSecond, ratio * 100, goal * 100);
            if (ours.Failures || theirs.Failures) std::printf("  (failures: %ld / %ld)", ours.Failures, theirs.Failures);
            std::printf("\n");
            std::fflush(stdout);
        }
    }
    nginx.reset();
    std::error_code ec;
    fs::remove_all(work, ec);
    return 0;
}
