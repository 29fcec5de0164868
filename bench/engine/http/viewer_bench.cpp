// Viewers at scale: a real capture job (screen-capture stand-in, colour converter, Orbelle32, libVLC's
// H.264 + HLS at 1280x720@25, 2 s segments) publishes into a folder that our web server serves, while
// 200 simulated viewers each poll the playlist once a second over a keep-alive connection and fetch
// every segment that is new to them. Then the same viewers against nginx serving the same folder.
//
// A segment appears when the playlist on disk first lists it (looked at every 20 ms). Printed for
// each server: the share of (viewer, segment) pairs received within one segment length of the
// segment's appearance, the share of segments that every viewer received in that time, the median and
// 99th percentile delay, failed requests, and the server's CPU in per cent of one core. Our server runs
// in a process of its own (this program started again with --serve), logging every request into the
// log list as the program does, so that its CPU is counted apart from the capture job's.
//
// Needs an X server (run under xvfb-run -s "-screen 0 1920x1080x24"), libVLC and nginx.
//
//   engine_http_viewer_bench [seconds per server, default 30] [viewers, default 200]
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http.hpp>

#include "bench/support/hls_capture_job.h"
#include "bench/support/nginx_child.h"
#include "bench/support/private_scratch.h"
#include "bench/support/process_cpu.h"
#include "engine/http/capture_http_server.h"
#include "engine/settings/log_list.h"
#include "engine/settings/settings_store.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
namespace asio = boost::asio;
namespace http = boost::beast::http;
using asio::ip::tcp;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kSegLenS = 2;
constexpr auto kPollPeriod = 1s;
constexpr auto kWatchPeriod = 20ms;
constexpr auto kStreamStartTimeout = 30s;
constexpr auto kServerStartTimeout = 5s;
// Segments that appear this soon after the viewers start are not counted: not every viewer polls yet.
constexpr auto kSettleTime = 2s;
constexpr size_t kMaxSegmentBytes = 64 * 1024 * 1024;
constexpr const char* kShareDir = "/pc1/";
constexpr const char* kPlaylistName = "stream_1.m3u8";

[[noreturn]] void Fail(const std::string& text) {
    std::fprintf(stderr, "viewer_bench: %s\n", text.c_str());
    std::exit(1);
}

int FreePort() {
    asio::io_context ioc;
    tcp::acceptor acceptor(ioc, tcp::endpoint(asio::ip::make_address("127.0.0.1"), 0));
    return acceptor.local_endpoint().port();
}

// The segment file names a playlist text lists, in order.
std::vector<std::string> ListedSegments(const std::string& playlist) {
    std::vector<std::string> names;
    std::istringstream lines(playlist);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] != '#' && line.ends_with(".ts")) names.push_back(fs::path(line).filename().string());
    }
    return names;
}

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// ---- our web server in a process of its own ----

int ServeMain(const std::string& root, int port) {
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);  // before any thread, so only sigwait sees them
    ::signal(SIGPIPE, SIG_IGN);
    engine::UpdateSettings([&](engine::TSettings& s) { s.HtmlDir = root + "/../html/"; });
    engine::TCaptureHttpServer server(1, "", nullptr);
    server.OnLog = [](const engine::TCaptureHttpServer&, const std::string& text) {
        engine::LogList()->AppendIfFewerThan({text, std::chrono::system_clock::now(), engine::kLogInfo},
                                          engine::kMaxQueuedLogEntries);
    };
    server.Root = root + "/";
    server.SetPort(port);
    if (!server.Activate()) return 1;
    std::atomic<bool> stop{false};
    std::thread drain([&] {  // the main window's one-second timer
        while (!stop) {
            std::this_thread::sleep_for(1s);
            engine::LogList()->TakeAll();
        }
    });
    int signal = 0;
    sigwait(&stopSignals, &signal);
    stop = true;
    drain.join();
    server.Deactivate();
    return 0;
}

class TOwnServerChild {
public:
    TOwnServerChild(const fs::path& root, int port) : port_(port) {
        const std::string self = fs::read_symlink("/proc/self/exe").string();
        const std::string portText = std::to_string(port), rootText = root.string();
        const char* argv[] = {self.c_str(), "--serve", rootText.c_str(), portText.c_str(), nullptr};
        if (posix_spawn(&pid_, self.c_str(), nullptr, nullptr, const_cast<char**>(argv), environ) != 0) pid_ = -1;
    }
    ~TOwnServerChild() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool WaitReady() const {
        const auto end = Clock::now() + kServerStartTimeout;
        while (pid_ > 0 && Clock::now() < end) {
            asio::io_context ioc;
            tcp::socket socket(ioc);
            boost::system::error_code ec;
            socket.connect(tcp::endpoint(asio::ip::make_address("127.0.0.1"), static_cast<uint16_t>(port_)), ec);
            if (!ec) return true;
            std::this_thread::sleep_for(20ms);
        }
        return false;
    }
    double CpuSeconds() const { return pid_ > 0 ? fw_bench::ProcessCpuSeconds(pid_) : 0; }

private:
    int port_;
    pid_t pid_ = -1;
};

// ---- when segments appear ----

class TSegmentClock {
public:
    explicit TSegmentClock(fs::path playlist) : playlist_(std::move(playlist)), thread_([this] { Run(); }) {}
    ~TSegmentClock() {
        stop_ = true;
        thread_.join();
    }
    std::map<std::string, Clock::time_point> Appeared() const {
        std::lock_guard lock(mutex_);
        return appeared_;
    }
    size_t Count() const {
        std::lock_guard lock(mutex_);
        return appeared_.size();
    }

private:
    void Run() {
        while (!stop_) {
            const auto names = ListedSegments(ReadText(playlist_));
            const auto now = Clock::now();
            {
                std::lock_guard lock(mutex_);
                for (const auto& name : names) appeared_.emplace(name, now);
            }
            std::this_thread::sleep_for(kWatchPeriod);
        }
    }
    fs::path playlist_;
    mutable std::mutex mutex_;
    std::map<std::string, Clock::time_point> appeared_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// ---- the viewers ----

struct TViewerLog {
    std::map<std::string, Clock::time_point> Received;
    long Failures = 0;
};

// One keep-alive connection that reconnects after an error.
class TClient {
public:
    explicit TClient(int port) : port_(port), socket_(ioc_) {}
    // The body of a 200 answer to a GET of target; false for anything else.
    bool Get(const std::string& target, std::string& body) {
        boost::system::error_code ec;
        if (!connected_) {
            socket_ = tcp::socket(ioc_);
            socket_.connect(tcp::endpoint(asio::ip::make_address("127.0.0.1"), static_cast<uint16_t>(port_)), ec);
            if (ec) return false;
            connected_ = true;
        }
        http::request<http::empty_body> request{http::verb::get, target, 11};
        request.set(http::field::host, "127.0.0.1");
        http::write(socket_, request, ec);
        http::response_parser<http::string_body> parser;
        parser.body_limit(kMaxSegmentBytes);
        if (!ec) http::read(socket_, buffer_, parser, ec);
        if (ec) {
            connected_ = false;
            return false;
        }
        if (!parser.get().keep_alive()) connected_ = false;
        if (parser.get().result() != http::status::ok) return false;
        body = std::move(parser.get().body());
        return true;
    }

private:
    int port_;
    asio::io_context ioc_;
    tcp::socket socket_;
    boost::beast::flat_buffer buffer_;
    bool connected_ = false;
};

void RunViewer(int port, Clock::duration startDelay, const std::atomic<bool>& stop, TViewerLog& log) {
    std::this_thread::sleep_for(startDelay);
    TClient client(port);
    std::set<std::string> done;
    bool first = true;
    auto next = Clock::now();
    while (!stop) {
        std::string playlist;
        if (client.Get(std::string(kShareDir) + kPlaylistName, playlist)) {
            const auto names = ListedSegments(playlist);
            // A player starts at the live edge: what is listed at its first look is old news.
            if (first && !names.empty()) done.insert(names.begin(), names.end() - 1);
            first = false;
            for (const auto& name : names) {
                if (stop || done.count(name)) continue;
                std::string body;
                if (client.Get(kShareDir + name, body) && !body.empty()) {
                    log.Received[name] = Clock::now();
                    done.insert(name);
                } else {
                    ++log.Failures;  // tried again at the next look
                }
            }
        } else {
            ++log.Failures;
        }
        next += kPollPeriod;
        while (!stop && Clock::now() < next) std::this_thread::sleep_for(10ms);
    }
}

struct TFigures {
    size_t Segments = 0;
    double PairsOnTime = 0;     // share of (viewer, segment) pairs within one segment length
    double SegmentsOnTime = 0;  // share of segments every viewer had within one segment length
    double MedianDelayS = 0, P99DelayS = 0;
    long Failures = 0;
    double CpuPercent = 0;
};

void Pump(Clock::duration duration) {
    const auto end = Clock::now() + duration;
    while (Clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(5ms);
    }
}

TFigures RunViewers(int port, int viewers, Clock::duration duration, const TSegmentClock& segments,
                    const std::function<double()>& serverCpu) {
    std::vector<TViewerLog> logs(static_cast<size_t>(viewers));
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    const auto start = Clock::now();
    const double cpu0 = serverCpu();
    for (int i = 0; i < viewers; ++i)
        threads.emplace_back(RunViewer, port, std::chrono::duration_cast<Clock::duration>(kPollPeriod) * i / viewers,
                             std::cref(stop), std::ref(logs[static_cast<size_t>(i)]));
    Pump(duration);  // the capture job's timers run on this thread
    const double cpu1 = serverCpu();
    const auto end = Clock::now();
    stop = true;
    for (auto& t : threads) t.join();

    TFigures f;
    f.CpuPercent = 100.0 * (cpu1 - cpu0) / std::chrono::duration<double>(end - start).count();
    std::vector<double> delays;
    size_t pairs = 0, pairsOnTime = 0;
    const auto deadline = std::chrono::seconds(kSegLenS);
    for (const auto& [name, appeared] : segments.Appeared()) {
        // Counted: every viewer was polling when it appeared, and its deadline passed before the end.
        if (appeared < start + kSettleTime || appeared + deadline > end) continue;
        ++f.Segments;
        size_t onTime = 0;
        for (const auto& log : logs) {
            auto it = log.Received.find(name);
            const double delay = it == log.Received.end() ? 1e9 : std::chrono::duration<double>(it->second - appeared).count();
            delays.push_back(delay);
            if (delay <= kSegLenS) ++onTime;
        }
        pairs += logs.size();
        pairsOnTime += onTime;
        if (onTime == logs.size()) f.SegmentsOnTime += 1;
    }
    for (const auto& log : logs) f.Failures += log.Failures;
    if (f.Segments == 0) return f;
    f.SegmentsOnTime /= static_cast<double>(f.Segments);
    f.PairsOnTime = static_cast<double>(pairsOnTime) / static_cast<double>(pairs);
    std::sort(delays.begin(), delays.end());
    f.MedianDelayS = delays[delays.size() / 2];
    f.P99DelayS = delays[std::min(delays.size() - 1, delays.size() * 99 / 100)];
    return f;
}

void Print(const char* name, const TFigures& f) {
    auto delay = [](double s) { return s >= 1e8 ? std::string("  never") : std::to_string(s).substr(0, 5) + " s"; };
    std::printf("%-22s %8zu %10.1f%% %10.1f%% %9s %9s %9ld %8.1f%%\n", name, f.Segments, 100 * f.PairsOnTime,
                100 * f.SegmentsOnTime, delay(f.MedianDelayS).c_str(), delay(f.P99DelayS).c_str(), f.Failures,
                f.CpuPercent);
}

void RunBoth(const fs::path& work, Clock::duration duration, int viewers) {
    fw_bench::THlsJobSettings settings;
    settings.SegLenS = kSegLenS;
    fw_bench::THlsCaptureJob job(work, settings);
    if (!job.Running()) Fail(job.Error());
    TSegmentClock segments(job.Playlist());
    const auto waitEnd = Clock::now() + kStreamStartTimeout;
    while (segments.Count() < 2 && Clock::now() < waitEnd) Pump(100ms);
    if (segments.Count() < 2) Fail("no playlist at " + job.Playlist().string());

    std::printf("%d viewers of a %dx%d@%d HLS stream (%d s segments, %d kbit/s), %.0f s per server\n", viewers,
                settings.Width, settings.Height, settings.Fps, kSegLenS, settings.BitrateKbit,
                std::chrono::duration<double>(duration).count());
    std::printf("%-22s %8s %11s %11s %9s %9s %9s %9s\n", "server", "segments", "pairs<=2s", "all<=2s", "median",
                "p99", "failures", "cpu");
    {
        const int port = FreePort();
        TOwnServerChild ours(job.WebRoot(), port);
        if (!ours.WaitReady()) Fail("our web server did not start");
        Print("Framewick web server", RunViewers(port, viewers, duration, segments, [&] { return ours.CpuSeconds(); }));
    }
    if (fw_bench::TNginxChild::Installed()) {
        const int port = FreePort();
        fw_bench::TNginxChild nginx(work / "nginx", job.WebRoot(), port);
        if (!nginx.WaitReady()) Fail("nginx did not start");
        Print("nginx", RunViewers(port, viewers, duration, segments, [&] { return nginx.CpuSeconds(); }));
    } else {
        std::printf("nginx not installed (Debian nginx-light): only our own figures\n");
    }
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--serve") return ServeMain(argv[2], std::atoi(argv[3]));
    ::signal(SIGPIPE, SIG_IGN);
    const auto duration = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(argc > 1 ? std::max(10.0, std::atof(argv[1])) : 30.0));
    const int viewers = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
    const fs::path work = fw_bench::MakePrivateScratch("viewer-bench");
    if (work.empty()) Fail("no temp folder");
    QCoreApplication app(argc, argv);
    if (!getenv("DISPLAY")) Fail("no X server (run under xvfb-run)");
    RunBoth(work, duration, viewers);
    std::error_code ec;
    fs::remove_all(work, ec);
    return 0;
}
