// Glass-to-playlist latency and CPU use of a whole "DirectX" capture job (screen-capture stand-in,
// colour converter, Orbelle32, libVLC's H.264 + HLS) at 1280x720@25, side by side with
// `ffmpeg -f x11grab ... -f hls` at the same size, rate, bit rate and segment length.
//
// Latency: a window over the capture area turns from black to white (or back); the time until the
// first playlist entry whose segment shows the new colour is listed. CPU: user + system time of the
// process (ours: this program; ffmpeg: its process) over a window of steady streaming, in per cent of
// one core. Needs an X server (run it under xvfb-run -s "-screen 0 1920x1080x24"); ffmpeg decodes the
// segments to tell their colour.
//
//   engine_capture_job_bench [trials, default 3]
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/support/hls_capture_job.h"
#include "bench/support/process_cpu.h"
#include "bench/support/private_scratch.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

extern char** environ;

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr int kFps = 25;
constexpr int kBitrateKbit = 1000;
constexpr int kSegLenS = 2;
constexpr int kNumSeg = 5;
constexpr auto kCpuWindow = 10s;
constexpr auto kStreamStartTimeout = 30s;
constexpr auto kLatencyTimeout = 20s;
constexpr auto kPollStep = 20ms;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

void Fail(const std::string& text) {
    std::fprintf(stderr, "capture_job_bench: %s\n", text.c_str());
    std::exit(1);
}

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The segment file names a playlist lists, in order.
std::vector<std::string> ListedSegments(const fs::path& playlist) {
    std::vector<std::string> names;
    std::istringstream lines(ReadText(playlist));
    std::string line;
    while (std::getline(lines, line))
        if (!line.empty() && line[0] != '#' && line.ends_with(".ts")) names.push_back(fs::path(line).filename().string());
    return names;
}

void Pump(std::chrono::milliseconds duration) {
    const auto end = Clock::now() + duration;
    while (Clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(5ms);
    }
}

bool PumpUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
    const auto end = Clock::now() + timeout;
    while (!pred()) {
        if (Clock::now() >= end) return false;
        Pump(kPollStep);
    }
    return true;
}

pid_t Spawn(const std::vector<std::string>& argv, const std::string& outputFile) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int RunToEnd(const std::vector<std::string>& argv, const std::string& outputFile) {
    const pid_t pid = Spawn(argv, outputFile);
    if (pid < 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The mean luma of the segment's last picture (0..255); -1 when ffmpeg cannot read it.
int LastFrameLuma(const fs::path& segment, const fs::path& work) {
    const fs::path raw = work / "luma.raw";
    fs::remove(raw);
    if (RunToEnd({"ffmpeg", "-v", "error", "-y", "-i", segment.string(), "-vf", "scale=8:8,format=gray", "-f", "rawvideo",
                  raw.string()},
                 (work / "ffmpeg_decode.log").string()) != 0)
        return -1;
    const std::string bytes = ReadText(raw);
    if (bytes.size() < 64) return -1;
    long sum = 0;
    for (size_t i = bytes.size() - 64; i < bytes.size(); ++i) sum += static_cast<unsigned char>(bytes[i]);
    return static_cast<int>(sum / 64);
}

// A window over the capture area whose colour the benchmark switches.
class ColourWindow {
public:
    ColourWindow() {
        c_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(c_)) Fail("no X server (run under xvfb-run)");
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
        w_ = xcb_generate_id(c_);
        const uint32_t values[] = {kBlack, 1};
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, w_, screen->root, 0, 0, kWidth, kHeight, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
        xcb_map_window(c_, w_);
        Sync();
    }
    ~ColourWindow() {
        xcb_destroy_window(c_, w_);
        xcb_disconnect(c_);
    }
    void Paint(uint32_t rgb) {
        xcb_change_window_attributes(c_, w_, XCB_CW_BACK_PIXEL, &rgb);
        xcb_clear_area(c_, 0, w_, 0, 0, kWidth, kHeight);
        Sync();
    }

private:
    void Sync() { free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr)); }
    xcb_connection_t* c_;
    xcb_window_t w_;
};

struct TFigures {
    std::vector<double> LatencyS;
    double CpuPercent = 0;
};

// One latency trial: paint, then watch the playlist until a newly listed segment shows the colour.
double MeasureLatency(ColourWindow& window, uint32_t colour, const fs::path& playlist, const fs::path& work) {
    const std::vector<std::string> before = ListedSegments(playlist);
    const std::string lastBefore = before.empty() ? std::string() : before.back();
    const auto painted = Clock::now();
    window.Paint(colour);
    std::vector<std::pair<std::string, Clock::time_point>> listed;  // new entries, as they appeared
    std::string last = lastBefore;
    const bool white = colour == kWhite;
    size_t checked = 0;
    while (Clock::now() - painted < kLatencyTimeout) {
        const auto names = ListedSegments(playlist);
        auto it = std::find(names.begin(), names.end(), last);
        for (auto next = it == names.end() ? names.begin() : it + 1; next != names.end(); ++next) {
            listed.emplace_back(*next, Clock::now());
            last = *next;
        }
        for (; checked < listed.size(); ++checked) {
            const int luma = LastFrameLuma(playlist.parent_path() / listed[checked].first, work);
            if (luma >= 0 && (white ? luma > 128 : luma < 64))
                return std::chrono::duration<double>(listed[checked].second - painted).count();
        }
        Pump(kPollStep);
    }
    return -1;
}

TFigures Measure(pid_t pid, const fs::path& playlist, const fs::path& work, ColourWindow& window, int trials) {
    TFigures f;
    if (!PumpUntil([&] { return ListedSegments(playlist).size() >= 2; }, kStreamStartTimeout))
        Fail("no playlist at " + playlist.string());
    auto cpu = [pid] { return pid == 0 ? fw_bench::OwnCpuSeconds() : fw_bench::ProcessCpuSeconds(pid); };
    const double cpu0 = cpu();
    const auto t0 = Clock::now();
    Pump(std::chrono::duration_cast<std::chrono::milliseconds>(kCpuWindow));
    f.CpuPercent = 100.0 * (cpu() - cpu0) / std::chrono::duration<double>(Clock::now() - t0).count();
    for (int i = 0; i < trials; ++i) f.LatencyS.push_back(MeasureLatency(window, i % 2 == 0 ? kWhite : kBlack, playlist, work));
    window.Paint(kBlack);
    return f;
}

TFigures RunOurJob(const fs::path& work, ColourWindow& window, int trials) {
    fw_bench::THlsJobSettings settings;
    settings.Width = kWidth;
    settings.Height = kHeight;
    settings.Fps = kFps;
    settings.BitrateKbit = kBitrateKbit;
    settings.SegLenS = kSegLenS;
    settings.NumSeg = kNumSeg;
    fw_bench::THlsCaptureJob job(work, settings);
    if (!job.Running()) Fail(job.Error());
    return Measure(0, job.Playlist(), work, window, trials);
}

TFigures RunFfmpeg(const fs::path& work, ColourWindow& window, int trials) {
    const fs::path out = work / "ffmpeg";
    fs::create_directories(out);
    const char* display = std::getenv("DISPLAY");
    const std::string gop = std::to_string(kFps * kSegLenS);
    const pid_t pid = Spawn({"ffmpeg", "-v", "error", "-f", "x11grab", "-framerate", std::to_string(kFps), "-video_size",
                             std::to_string(kWidth) + "x" + std::to_string(kHeight), "-i", std::string(display) + "+0,0",
                             "-c:v", "libx264", "-preset", "ultrafast", "-b:v", std::to_string(kBitrateKbit) + "k", "-g", gop,
                             "-keyint_min", gop, "-pix_fmt", "yuv420p", "-f", "hls", "-hls_time", std::to_string(kSegLenS),
                             "-hls_list_size", std::to_string(kNumSeg), "-hls_flags", "delete_segments",
                             (out / "stream.m3u8").string()},
                            (work / "ffmpeg.log").string());
    if (pid < 0) Fail("ffmpeg could not be started");
    TFigures f = Measure(pid, out / "stream.m3u8", work, window, trials);
    kill(pid, SIGINT);
    waitpid(pid, nullptr, 0);
    return f;
}

void Print(const char* name, const TFigures& f) {
    double sum = 0;
    int counted = 0;
    std::printf("%-26s cpu %6.1f %%   latency", name, f.CpuPercent);
    for (double s : f.LatencyS) {
        std::printf(" %5.2f", s);
        if (s >= 0) sum += s, ++counted;
    }
    std::printf("   mean %5.2f s\n", counted ? sum / counted : -1.0);
}

}  // namespace

int main(int argc, char** argv) {
    const int trials = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const fs::path work = fw_bench::MakePrivateScratch("capture-bench");
    if (work.empty()) Fail("no temp folder");
    QCoreApplication app(argc, argv);

    ColourWindow window;
    std::printf("capture job bench: %dx%d@%d, H.264 %d kbit/s, %d s segments, %d latency trials\n", kWidth, kHeight, kFps,
                kBitrateKbit, kSegLenS, trials);
    const TFigures ours = RunOurJob(work, window, trials);
    const TFigures ffmpeg = RunFfmpeg(work, window, trials);
    Print("capture job (Framewick)", ours);
    Print("ffmpeg x11grab -> hls", ffmpeg);
    if (ffmpeg.CpuPercent > 0) std::printf("cpu ratio ours/ffmpeg: %.2f (target <= 1.0)\n", ours.CpuPercent / ffmpeg.CpuPercent);
    std::printf("latency target: <= %d s (one segment + 1 s)\n", kSegLenS + 1);
    fs::remove_all(work);
    return 0;
}
