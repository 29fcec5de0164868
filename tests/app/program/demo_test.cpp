// The demo of scripts/run as a new user meets it: the configuration written by the script's own helper
// (scripts/demo-config, on a free web port), the real Framewick started as a second process with an
// empty LIB_VLC/ (as after a fresh build, so it first copies the system's libVLC) on an X server of
// the test's own, bare or under a reparenting window manager (openbox). Within a minute the snapshot
// fetched over HTTP is a picture of the main window (its size, more than one colour) and a segment
// of the HLS stream decodes at that size. In a Wayland session the program says at start-up what X
// capture cannot see.
#include <gtest/gtest.h>
#include <png.h>
#include <signal.h>
#include <stdlib.h>
#include <vlc/vlc.h>
#include <xcb/xcb.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <set>
#include <thread>

#include "tests/app/program/framewick_child.h"
#include "tests/app/program/main_window_probe.h"
#include "tests/app/program/published_files.h"
#include "tests/app/program/ts_picture.h"
#include "tests/engine/capture/broadcast/stream_test_helpers.h"
#include "tests/support/PrivateXServer.h"
#include "tests/support/XTestWindow.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kPictureWithin = 60s;  // from the program's start to a snapshot of the main window
constexpr auto kWindowManagerWithin = 15s;
constexpr auto kDecodeWithin = 30s;
constexpr auto kClosingWithin = 15s;
constexpr auto kPollPause = 500ms;  // between two looks over HTTP
constexpr int kFrameSizeStep = 16;      // the capture rounds picture sizes up to multiples of this
constexpr const char* kWaylandWarning =
    "[wrn] Wayland session: the X screen capture sees only X11 (XWayland) windows - every other window is captured as black";

using fw_test::MainWindowProbe;
using fw_test::Size;

struct Picture {
    Size size;
    bool manyColours = false;
};

std::optional<Picture> ReadPng(const fs::path& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.c_str())) return std::nullopt;
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint32_t> pixels(static_cast<size_t>(image.width) * image.height);
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return std::nullopt;
    Picture p{{static_cast<int>(image.width), static_cast<int>(image.height)}, false};
    for (uint32_t px : pixels) p.manyColours = p.manyColours || px != pixels.front();
    return p;
}

// Decodes a transport-stream file with libVLC into RGB pictures: the size of the pictures, when at
// least one came out.
std::optional<Size> DecodedVideoSize(const fs::path& file) {
    struct Sink {
        std::atomic<int> frames{0};
        std::vector<unsigned char> buffer;
    } sink;
    const char* args[] = {"--no-audio", "--no-xlib", "--quiet", "--intf=dummy"};
    libvlc_instance_t* vlc = libvlc_new(4, args);
    if (!vlc) return std::nullopt;
    libvlc_media_t* media = libvlc_media_new_path(vlc, file.c_str());
    libvlc_media_player_t* player = libvlc_media_player_new_from_media(media);
    libvlc_media_release(media);
    libvlc_video_set_format_callbacks(
        player,
        [](void** opaque, char* chroma, unsigned* width, unsigned* height, unsigned* pitches, unsigned* lines) -> unsigned {
            auto* s = static_cast<Sink*>(*opaque);
            std::memcpy(chroma, "RV32", 4);
            pitches[0] = *width * 4;
            lines[0] = *height;
            s->buffer.resize(static_cast<size_t>(pitches[0]) * lines[0]);
            return 1;
        },
        nullptr);
    libvlc_video_set_callbacks(
        player,
        [](void* opaque, void** planes) -> void* {
            planes[0] = static_cast<Sink*>(opaque)->buffer.data();
            return nullptr;
        },
        nullptr, [](void* opaque, void*) { ++static_cast<Sink*>(opaque)->frames; }, &sink);
    libvlc_media_player_play(player);
    // The picture's own size (the buffers asked for may be padded), known once a picture is out.
    unsigned width = 0, height = 0;
    fw_test::WaitUntil([&] {
        const libvlc_state_t state = libvlc_media_player_get_state(player);
        if (sink.frames > 0 && libvlc_video_get_size(player, 0, &width, &height) == 0 && width > 0) return true;
        return state == libvlc_Ended || state == libvlc_Error;
    }, kDecodeWithin);
    const bool sized = sink.frames > 0 && width > 0;
    libvlc_media_player_stop(player);
    libvlc_media_player_release(player);
    libvlc_release(vlc);
    if (!sized) return std::nullopt;
    return Size{static_cast<int>(width), static_cast<int>(height)};
}

class DemoTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.ok()) << "no private X server";
        ASSERT_TRUE(program.ok());
        prog = program.path();
        fs::create_directories(prog / "LIB_VLC");  // empty, as after a fresh build
        port = fw_test::FreeTcpPort();
        std::string output;
        ASSERT_EQ(fw_test::RunProgram({"bash", FW_SOURCE_DIR "/scripts/demo-config", prog.string(), std::to_string(port)},
                                      &output),
                  0)
            << output;
        share = prog / "WebServer" / "htdocs" / "demo";

        ::setenv("DISPLAY", server.name().c_str(), 1);
        ::unsetenv("WAYLAND_DISPLAY");
        // A Wayland session is only claimed, so that the bare desktop also shows the warning.
        if (WithWindowManager())
            ::unsetenv("XDG_SESSION_TYPE");
        else
            ::setenv("XDG_SESSION_TYPE", "wayland", 1);
        if (WithWindowManager()) {
            windowManager = fw_test::StartWindowManager(root.path() / "wm-started", kWindowManagerWithin);
            ASSERT_TRUE(windowManager) << "the window manager did not come up";
        }
    }
    void TearDown() override { ::unsetenv("XDG_SESSION_TYPE"); }

    bool WithWindowManager() const { return GetParam(); }
    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port) + "/demo/" + path; }
    // A file of the share as the web server sends it.
    std::optional<fs::path> Fetch(const std::string& path) {
        const fs::path to = root.path() / ("fetched_" + path);
        if (fw_test::RunProgram({"curl", "-sf", "-m", "10", "-o", to.string(), Url(path)}, nullptr, 15s) != 0)
            return std::nullopt;
        return to;
    }
    std::string SnapshotName() const {
        std::error_code error;
        for (fs::directory_iterator it(share, error), end; !error && it != end; it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (name.starts_with("capimg_") && name.ends_with(".png")) return name;
        }
        return {};
    }
    std::string DailyLog() const {
        std::string all;
        std::error_code error;
        for (fs::directory_iterator it(prog / "Log", error), end; !error && it != end; it.increment(error))
            all += fw_test::ReadFile(it->path());
        return all;
    }

    fw_test::PrivateXServer server{1920, 1080};
    fw_test::TempDir root;
    const fw_test::FramewickFolder program{FW_FRAMEWICK, root.path() / "prog"};
    fs::path prog;
    fs::path share;
    int port = 0;
    std::unique_ptr<fw_test::ChildProcess> windowManager;
};

TEST_P(DemoTest, FreshStartPublishesThePictureOfTheMainWindow) {
    MainWindowProbe probe(server.name());
    const auto started = std::chrono::steady_clock::now();
    // The main window on the X server it captures.
    const std::unique_ptr<fw_test::ChildProcess> framewick = program.Start({}, {"QT_QPA_PLATFORM=xcb"});
    ASSERT_TRUE(framewick->running());

    std::optional<Size> window;
    std::optional<Picture> snapshot;
    const bool pictured = fw_test::WaitUntil([&] {
        std::this_thread::sleep_for(kPollPause);
        if (!framewick->running()) return true;
        window = probe.MainWindowSize();
        const std::string name = SnapshotName();
        if (!window || name.empty()) return false;
        const auto fetched = Fetch(name);
        snapshot = fetched ? ReadPng(*fetched) : std::nullopt;
        return snapshot && snapshot->manyColours && std::abs(snapshot->size.Width - window->Width) <= kFrameSizeStep &&
               std::abs(snapshot->size.Height - window->Height) <= kFrameSizeStep;
    }, kPictureWithin);
    ASSERT_TRUE(framewick->running()) << "Framewick ended";
    ASSERT_TRUE(window.has_value()) << "no main window on the X server";
    ASSERT_TRUE(snapshot.has_value()) << "no snapshot over HTTP";
    ASSERT_TRUE(pictured) << "the snapshot is " << snapshot->size.Width << "x" << snapshot->size.Height
                          << (snapshot->manyColours ? "" : " in one colour") << ", the main window "
                          << window->Width << "x" << window->Height;
    std::cout << "the main window's picture came over HTTP after "
              << std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count()
              << " ms" << std::endl;
    EXPECT_TRUE(fs::is_regular_file(prog / "LIB_VLC" / "libvlc.so.5")) << "the library folder was not filled";

    // A segment of the stream, as a player fetches it, decodes at the snapshot's size.
    std::optional<Size> decoded;
    std::string playlistText;
    int decodeTries = 0;
    ASSERT_TRUE(fw_test::WaitUntil([&] {
        std::this_thread::sleep_for(kPollPause);
        const auto playlist = Fetch("stream_0.m3u8");
        if (!playlist) return false;
        playlistText = fw_test::ReadFile(*playlist);
        const auto segments = fw_test::PlaylistSegments(playlistText);
        if (segments.empty()) return false;
        const std::string segment = fs::path(segments.front().second).filename().string();
        const auto fetched = Fetch(segment);
        if (!fetched) return false;
        ++decodeTries;
        decoded = DecodedVideoSize(*fetched);
        return decoded.has_value();
    }, kPictureWithin))
        << "no segment of the stream decodes (" << decodeTries << " tried); the playlist:\n" << playlistText;
    EXPECT_EQ(decoded->Width, snapshot->size.Width);
    EXPECT_EQ(decoded->Height, snapshot->size.Height);

    const std::string log = DailyLog();
    EXPECT_EQ(log.find(kWaylandWarning) != std::string::npos, !WithWindowManager()) << log.substr(0, 2000);

    ASSERT_EQ(::kill(framewick->pid(), SIGTERM), 0);
    const std::optional<int> exitCode = framewick->WaitForExit(kClosingWithin);
    ASSERT_TRUE(exitCode.has_value()) << "still running after the signal";
    EXPECT_EQ(*exitCode, 0);
}

// What a published picture holds: pixels of the desktop's magenta, and pixels that are not black.
struct TPictureColours {
    size_t Magenta = 0, NotBlack = 0;
};
bool IsMagenta(uint32_t r, uint32_t g, uint32_t b) { return r >= 160 && g <= 90 && b >= 160; }

std::optional<TPictureColours> PngColours(const fs::path& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.c_str())) return std::nullopt;
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return std::nullopt;
    TPictureColours c;
    for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
        c.Magenta += IsMagenta(pixels[i], pixels[i + 1], pixels[i + 2]);
        c.NotBlack += (pixels[i] | pixels[i + 1] | pixels[i + 2]) != 0;
    }
    return c;
}

// "_" on the demo's own main window, on a desktop painted magenta: with no tray host the window is
// minimised, with one (trayer) it is hidden into the tray. Every snapshot and every picture of the
// stream published afterwards is of the main window or black, and black once the window is gone from
// the screen. Without a window manager nothing minimises the window: it stays, and so do its pictures.
TEST_P(DemoTest, HidingTheMainWindowNeverPublishesTheDesktop) {
    constexpr uint32_t kMagenta = 0xFF00FF;
    constexpr auto kWatchFor = 8s;
    constexpr auto kSnapshotPeriod = 1500ms;
    constexpr int kButtonFromRight = 2 + 26 + 13, kButtonFromTop = 2 + 12;  // the middle of "_"
    const auto desktop = fw_test::PaintedDesktop(1920, 1080, kMagenta, server.name());
    fw_test::WriteFile(prog / "framewick.ini", "[General]\nNotifyIcon=1\n[Hls]\nSegLen=1\n");

    for (const bool trayHost : WithWindowManager() ? std::vector<bool>{false, true} : std::vector<bool>{false}) {
        SCOPED_TRACE(trayHost ? "hidden into the tray" : "minimised");
        std::unique_ptr<fw_test::ChildProcess> tray;
        if (trayHost)
            tray = std::make_unique<fw_test::ChildProcess>(std::vector<std::string>{
                "trayer", "--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width", "100",
                "--heighttype", "pixel", "--height", "24"});
        MainWindowProbe probe(server.name());
        const std::unique_ptr<fw_test::ChildProcess> framewick = program.Start({}, {"QT_QPA_PLATFORM=xcb"});
        std::optional<std::pair<xcb_window_t, Size>> main;
        ASSERT_TRUE(fw_test::WaitUntil([&] {
            std::this_thread::sleep_for(kPollPause);
            main = probe.MainWindow();
            const std::string name = SnapshotName();
            const auto picture = name.empty() ? std::nullopt : ReadPng(share / name);
            return main && picture && picture->manyColours;
        }, kPictureWithin)) << "no snapshot of the main window";

        // Clicked once the start-up's wait window has gone (the main window takes no input while it
        // shows) and the pointer over "_" is over the main window itself or its frame.
        ASSERT_TRUE(fw_test::WaitUntil([&] { return probe.ProgramWindowsShown() == 1; }, kPictureWithin))
            << "the start-up's windows never went";
        const std::string id = std::to_string(main->first);
        ASSERT_TRUE(fw_test::WaitUntil([&] {
            std::string under;
            return fw_test::RunProgram({"xdotool", "mousemove", "--window", id,
                                        std::to_string(main->second.Width - kButtonFromRight),
                                        std::to_string(kButtonFromTop), "getmouselocation", "--shell"},
                                       &under) == 0 &&
                   under.find("WINDOW=" + std::to_string(probe.FrameOf(main->first)) + "\n") != std::string::npos;
        }, kPictureWithin)) << "the main window's \"_\" is never uncovered";
        ASSERT_EQ(fw_test::RunProgram({"xdotool", "click", "1"}), 0);
        const bool taken = fw_test::WaitUntil([&] { return !probe.Viewable(main->first); }, kWindowManagerWithin);
        EXPECT_EQ(taken, WithWindowManager()) << "the main window is still on the screen";
        const auto blackFrom = fs::file_time_type::clock::now() + kSnapshotPeriod;

        std::set<fs::file_time_type> snapshots;
        size_t lit = 0, magenta = 0, pictures = 0, litPictures = 0;
        fw_test::TSegmentKeeper segments(share, root.path() / (trayHost ? "tray" : "minimised"));
        segments.SkipListed();
        const auto end = std::chrono::steady_clock::now() + kWatchFor;
        while (std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(200ms);
            const std::string name = SnapshotName();
            std::error_code error;
            const auto written = name.empty() ? fs::file_time_type{} : fs::last_write_time(share / name, error);
            if (!name.empty() && !error && snapshots.insert(written).second)
                if (const auto c = PngColours(share / name)) {
                    magenta += c->Magenta > 0;
                    lit += taken && written > blackFrom && c->NotBlack > 0;
                }
            segments.KeepNew();
        }
        segments.KeepUntilNextSegment(kDecodeWithin);
        const std::vector<fs::path> kept = segments.TakeKept();
        for (size_t i = 0; i < kept.size(); ++i)
            fw_test::DecodeTsPictures(kept[i], kDecodeWithin, [&](const fw_test::TPicture& picture) {
                ++pictures;
                size_t m = 0, bright = 0;
                for (const uint32_t px : picture.Pixels) {
                    m += IsMagenta((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
                    bright += ((px >> 16) & 0xFF) > 40 || ((px >> 8) & 0xFF) > 40 || (px & 0xFF) > 40;
                }
                magenta += m > 0;
                // The first segments may still hold the last pictures before the window went.
                litPictures += taken && i >= 2 && bright > 0;
            });
        EXPECT_GE(snapshots.size(), 4u) << "the snapshots went on";
        EXPECT_GT(pictures, 0u) << "the stream went on";
        EXPECT_EQ(magenta, 0u) << "a published picture showed the desktop";
        EXPECT_EQ(lit, 0u) << "a snapshot of the hidden window is not black";
        EXPECT_EQ(litPictures, 0u) << "a picture of the stream of the hidden window is not black";

        ASSERT_EQ(::kill(framewick->pid(), SIGTERM), 0);
        EXPECT_EQ(framewick->WaitForExit(kClosingWithin), std::optional<int>(0));
    }
}

INSTANTIATE_TEST_SUITE_P(Desktops, DemoTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "ReparentingWindowManager" : "BareXServer");
                         });

}  // namespace
