// CPU time per 1920x1080 picture of screen capture at 25 fps: the screen capture graph (screen-capture
// filter grabbing over MIT-SHM, colour converter to YV12, Orbelle32 as a TCP server) side by side with
// `ffmpeg -f x11grab -pix_fmt yuv420p -f rawvideo` writing to a TCP server of its own, both on the same
// private Xvfb and read by the same kind of loopback client. Targets: ours at most 4 ms of CPU per
// picture and at most 1.2x ffmpeg.
//
// Our figure is the CPU time of this process minus the reading client's thread; ffmpeg's is the CPU
// time of its process. The X server's share (copying the screen into the shared segment) is printed
// apart for both. Our pictures are 1920x1088: the capture area grows to multiples of 16.
//
//   engine_graphs_screen_graph_bench [seconds per run, default 5] [path of ffmpeg]
#include <signal.h>
#include <sys/socket.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/graphs/SpreadFilterGraph.h"
#include "platform/com/com.h"
#include "tests/support/PrivateXServer.h"
#include "tests/sinkfilter/sink_library.h"
#include "tests/support/test_env.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace fw_test {
namespace {
fs::path g_scratch;
}
// test_env.cpp's temporary folders live below the benchmark's own scratch folder.
const fs::path& ScratchRoot() { return g_scratch; }
}  // namespace fw_test

namespace {

constexpr int kScreenW = 1920, kScreenH = 1080;
constexpr int kFrameRate = 25;
constexpr int kRounds = 2;  // each side keeps its lower figure of the rounds
constexpr auto kWarmUp = 1500ms;
constexpr auto kConnectTimeout = 10s;
constexpr double kTarget = 1.2;
constexpr double kTargetMsPerFrame = 4.0;

struct TFigures {
    double cpuMsPerFrame = 0;
    double xServerMsPerFrame = 0;
    double framesPerSecond = 0;
    bool ok = false;
};

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

// utime + stime of another process, from /proc (clock-tick resolution).
double ChildCpuSeconds(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string skip;
    for (int i = 0; i < 11; ++i) fields >> skip;  // state .. cmajflt
    long utime = 0, stime = 0;
    fields >> utime >> stime;
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The loopback client that plays libVLC's part: connects to the server and drains it.
class TReader {
public:
    explicit TReader(int port) : thread_([this, port] { Run(port); }) {}
    ~TReader() {
        stop_ = true;
        thread_.join();
    }
    bool WaitConnected() const {
        return fw_test::WaitUntil([&] { return connected_.load() || failed_.load(); }, kConnectTimeout) &&
               connected_;
    }
    size_t Bytes() const { return bytes_; }
    double CpuSeconds() const { return cpuNs_ / 1e9; }

private:
    void Run(int port) {
        fw_test::TFd fd = fw_test::ConnectTcp(port, kConnectTimeout);
        if (!fd) {
            failed_ = true;
            return;
        }
        timeval tv{0, 100000};
        setsockopt(fd.get(), SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        connected_ = true;
        std::vector<uint8_t> buf(4 << 20);
        while (!stop_) {
            const ssize_t n = recv(fd.get(), buf.data(), buf.size(), 0);
            if (n > 0) bytes_ += static_cast<size_t>(n);
            if (n == 0) break;
            cpuNs_ = static_cast<int64_t>(ThreadCpuSeconds() * 1e9);
        }
    }

    std::atomic<bool> stop_{false}, connected_{false}, failed_{false};
    std::atomic<size_t> bytes_{0};
    std::atomic<int64_t> cpuNs_{0};
    std::thread thread_;
};

// Samples the counters at the start and the end of the measured time.
template <typename Cpu>
TFigures Measure(const TReader& reader, size_t frameBytes, int xServerPid, std::chrono::milliseconds duration,
                 Cpu cpu) {
    std::this_thread::sleep_for(kWarmUp);
    const double cpu0 = cpu(), x0 = ChildCpuSeconds(xServerPid);
    const size_t bytes0 = reader.Bytes();
    const auto t0 = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(duration);
    const double cpu1 = cpu(), x1 = ChildCpuSeconds(xServerPid);
    const size_t bytes1 = reader.Bytes();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    TFigures f;
    const double frames = static_cast<double>(bytes1 - bytes0) / static_cast<double>(frameBytes);
    if (frames < 1) return f;
    f.cpuMsPerFrame = (cpu1 - cpu0) * 1000 / frames;
    f.xServerMsPerFrame = (x1 - x0) * 1000 / frames;
    f.framesPerSecond = frames / seconds;
    f.ok = true;
    return f;
}

TFigures RunOurs(int xServerPid, std::chrono::milliseconds duration) {
    const int port = fw_test::FreeTcpPort();
    engine::TFgSpreadInputParams p;
    p.UseScreenFilter = 1;
    p.SinkPort = port;
    p.SinkInterface = siTcpServer;
    p.ScreenCapture.CaptureMode = 1;
    p.ScreenCapture.Width = kScreenW;
    p.ScreenCapture.Height = kScreenH;
    p.ScreenCapture.FrameRate = kFrameRate;
    p.ScreenCapture.ScalePercent = 100;
    p.ScreenCapture.VideoOutput = 1;
    engine::TSpreadFilterGraph graph(p);
    if (!graph.Init()) {
        std::fprintf(stderr, "the screen capture graph was not built\n");
        return {};
    }
    // libVLC connects before the graph runs; so does our reader.
    TReader reader(port);
    if (!reader.WaitConnected() || !graph.Run()) {
        std::fprintf(stderr, "the screen capture graph did not run\n");
        return {};
    }
    const size_t frameBytes = static_cast<size_t>(kScreenW) * 1088 * 3 / 2;
    TFigures f = Measure(reader, frameBytes, xServerPid, duration,
                         [&reader] { return ProcessCpuSeconds() - reader.CpuSeconds(); });
    graph.Stop();
    return f;
}

TFigures RunFfmpeg(const std::string& ffmpeg, const std::string& display, int xServerPid,
                   std::chrono::milliseconds duration) {
    const int port = fw_test::FreeTcpPort();
    fw_test::ChildProcess child({ffmpeg, "-nostdin", "-loglevel", "fatal", "-f", "x11grab", "-framerate",
                                 std::to_string(kFrameRate), "-video_size",
                                 std::to_string(kScreenW) + "x" + std::to_string(kScreenH), "-draw_mouse", "0", "-i",
                                 display + "+0,0", "-pix_fmt", "yuv420p", "-f", "rawvideo",
                                 "tcp://127.0.0.1:" + std::to_string(port) + "?listen=1"});
    if (!child.running()) {
        std::fprintf(stderr, "ffmpeg did not start\n");
        return {};
    }
    TReader reader(port);
    if (!reader.WaitConnected()) {
        std::fprintf(stderr, "ffmpeg's TCP server did not answer\n");
        return {};
    }
    const size_t frameBytes = static_cast<size_t>(kScreenW) * kScreenH * 3 / 2;
    const int pid = child.pid();
    return Measure(reader, frameBytes, xServerPid, duration, [pid] { return ChildCpuSeconds(pid); });
}

// The X server's pid: the child that PrivateXServer started is the only Xvfb on that display.
int XServerPid(const std::string& display) {
    const std::string wanted = display;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream in(entry.path() / "cmdline");
        std::string cmd((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::replace(cmd.begin(), cmd.end(), '\0', ' ');
        if (cmd.rfind("Xvfb " + wanted + " ", 0) == 0) return std::stoi(entry.path().filename().string());
    }
    return -1;
}

bool SetUpScratch() {
    std::string pattern = (fs::temp_directory_path() / "fw-screen-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return false;
    fw_test::g_scratch = pattern;
    for (const char* hive : {"hkcu", "hklm"}) fs::create_directories(fw_test::g_scratch / "registry" / hive);
    ::setenv("FRAMEWICK_REGISTRY_HKCU", (fw_test::g_scratch / "registry" / "hkcu").c_str(), 1);
    ::setenv("FRAMEWICK_REGISTRY_HKLM", (fw_test::g_scratch / "registry" / "hklm").c_str(), 1);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    ::signal(SIGPIPE, SIG_IGN);
    const auto duration = std::chrono::milliseconds(static_cast<int>(1000 * (argc > 1 ? std::atof(argv[1]) : 5.0)));
    const std::string ffmpeg = argc > 2 ? argv[2] : "/usr/bin/ffmpeg";
    if (!SetUpScratch()) return 2;

    fw_test::PrivateXServer server(kScreenW, kScreenH);
    if (!server.ok()) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 2;
    }
    server.SetRootColour("#3366cc");
    ::setenv("DISPLAY", server.name().c_str(), 1);
    const int xServerPid = XServerPid(server.name());

    CoInitialize();
    if (RegisterServerLibrary(FW_SCREEN_CAPTURE_MODULE) != S_OK || RegisterServerLibrary(FW_SINK_MODULE) != S_OK) {
        std::fprintf(stderr, "cannot register the filters\n");
        return 2;
    }
    const bool haveFfmpeg = fs::exists(ffmpeg);

    TFigures ours, theirs;
    for (int round = 0; round < kRounds; ++round) {
        const TFigures o = RunOurs(xServerPid, duration);
        if (o.ok && (!ours.ok || o.cpuMsPerFrame < ours.cpuMsPerFrame)) ours = o;
        if (!haveFfmpeg) continue;
        const TFigures t = RunFfmpeg(ffmpeg, server.name(), xServerPid, duration);
        if (t.ok && (!theirs.ok || t.cpuMsPerFrame < theirs.cpuMsPerFrame)) theirs = t;
    }

    std::printf("screen capture, %dx%d at %d fps, %.1f s per run, best of %d\n", kScreenW, kScreenH, kFrameRate,
                duration.count() / 1000.0, kRounds);
    std::printf("%-34s %14s %14s %8s\n", "", "CPU ms/frame", "X server ms", "fps");
    auto row = [](const char* name, const TFigures& f) {
        if (f.ok)
            std::printf("%-34s %14.2f %14.2f %8.1f\n", name, f.cpuMsPerFrame, f.xServerMsPerFrame, f.framesPerSecond);
        else
            std::printf("%-34s %14s\n", name, "failed");
    };
    row("graph: grab+YV12+Orbelle32 TCP", ours);
    row(haveFfmpeg ? "ffmpeg x11grab yuv420p rawvideo" : "ffmpeg (not installed)", theirs);
    if (ours.ok) std::printf("ours: %.2f ms of CPU per picture (target <= %.1f)\n", ours.cpuMsPerFrame, kTargetMsPerFrame);
    if (ours.ok && theirs.ok)
        std::printf("ratio ours/ffmpeg: %.2fx (target <= %.1fx)\n", ours.cpuMsPerFrame / theirs.cpuMsPerFrame,
                    kTarget);

    RegisterServerLibrary(FW_SINK_MODULE, true);
    RegisterServerLibrary(FW_SCREEN_CAPTURE_MODULE, true);
    CoUninitialize();
    std::error_code ec;
    fs::remove_all(fw_test::g_scratch, ec);
    return ours.ok ? 0 : 1;
}
