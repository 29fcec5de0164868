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

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http.hpp>

#include "bench/support/nginx_child.h"
#include "engine/http/capture_http_server.h"
#include "engine/settings/log_list.h"
#include "engine/settings/settings_store.h"
#include "engine/util/file_in_use.h"

namespace fs = std::filesystem;
namespace asio = boost::asio;
namespace http = boost::beast::http;
using asio::ip::tcp;

namespace {

constexpr size_t kSegmentBytes = 1024 * 1024;
constexpr int kClientCounts[] = {1, 8, 50, 200};
constexpr double kSmallPageTarget = 0.9;
constexpr double kSegmentTarget = 1.0;
constexpr int kInUseCalls = 200'000;

struct TFigures {
    double RequestsPerSecond = 0;
    double MegabytesPerSecond = 0;
    long Failures = 0;
};

int FreePort() {
    asio::io_context ioc;
    tcp::acceptor acceptor(ioc, tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
    return acceptor.local_endpoint().port();
}

// Each client keeps one connection and asks for target again and again until the time is up.
TFigures Measure(int port, const std::string& target, int clients, std::chrono::milliseconds duration) {
    std::atomic<long> requests{0}, bytes{0}, failures{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (int i = 0; i < clients; ++i) {
        threads.emplace_back([&] {
            asio::io_context ioc;
            tcp::socket socket(ioc);
            boost::beast::flat_buffer buffer;
            http::request<http::empty_body> request{http::verb::get, target, 11};
            request.set(http::field::host, "127.0.0.1");
            bool connected = false;
            while (!stop) {
                boost::system::error_code ec;
                if (!connected) {
                    socket = tcp::socket(ioc);
                    socket.connect(tcp::endpoint(asio::ip::make_address("127.0.0.1"), static_cast<uint16_t>(port)), ec);
                    if (ec) {
                        ++failures;
                        continue;
                    }
                    connected = true;
                }
                http::write(socket, request, ec);
                http::response_parser<http::string_body> parser;
                parser.body_limit(64 * 1024 * 1024);
                if (!ec) http::read(socket, buffer, parser, ec);
                if (ec || parser.get().result() != http::status::ok) {
                    ++failures;
                    connected = false;
                    continue;
                }
                ++requests;
                bytes += static_cast<long>(parser.get().body().size());
                if (!parser.get().keep_alive()) connected = false;
            }
        });
    }
    auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(duration);
    stop = true;
    for (auto& t : threads) t.join();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {requests / seconds, bytes / seconds / (1024.0 * 1024.0), failures.load()};
}

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

// The request log goes where the main window puts it: the log list, drained once a second.
class TLogDrain {
public:
    TLogDrain() : thread_([this] { Run(); }) {}
    ~TLogDrain() {
        stop_ = true;
        thread_.join();
    }

private:
    void Run() {
        while (!stop_) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            engine::LogList()->TakeAll();
        }
    }
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

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
    engine::UpdateSettings([&](engine::TSettings& s) { s.HtmlDir = (work / "html").string() + "/"; });
    PrintInUseCost(root / "seg_1.ts");

    TLogDrain drain;
    engine::TCaptureHttpServer server(1, "", nullptr);
    server.OnLog = [](const engine::TCaptureHttpServer&, const std::string& text) {
        engine::LogList()->AppendIfFewerThan({text, std::chrono::system_clock::now(), engine::kLogInfo},
                                          engine::kMaxQueuedLogEntries);
    };
    server.Root = root.string() + "/";
    int ownPort = FreePort();
    server.SetPort(ownPort);
    if (!server.Activate()) {
        std::fprintf(stderr, "the web server did not start\n");
        return 1;
    }

    std::unique_ptr<fw_bench::TNginxChild> nginx;
    int nginxPort = FreePort();
    if (fw_bench::TNginxChild::Installed()) nginx = std::make_unique<fw_bench::TNginxChild>(work, root, nginxPort);
    bool haveNginx = nginx && nginx->WaitReady();
    if (!haveNginx) std::printf("nginx not available: only our own figures follow\n");

    std::printf("%-12s %7s | %12s %10s | %12s %10s | %s\n", "file", "clients", "ours req/s", "ours MB/s",
                "nginx req/s", "nginx MB/s", "ratio");
    for (const char* target : {"/seg_1.ts", "/index.html"}) {
        for (int clients : kClientCounts) {
            TFigures ours = Measure(ownPort, target, clients, duration);
            TFigures theirs = haveNginx ? Measure(nginxPort, target, clients, duration) : TFigures{};
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
    server.Deactivate();
    std::error_code ec;
    fs::remove_all(work, ec);
    return 0;
}
