// Framewick itself as a second process capturing one window of an X server of the test's own, bare and
// under a window manager (openbox): a green window on a desktop covered in red. While the window is
// unmapped, minimised or closed, no snapshot and no picture of an HLS segment written during 8 s holds
// the red of the desktop (they are black, of the window's size) and the playlist goes on; shown or
// opened again, the green is back within 3 s. The daily log says each change once.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <xcb/xcb.h>

#include <QImage>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "tests/app/program/framewick_child.h"
#include "tests/app/program/published_files.h"
#include "tests/app/program/ts_picture.h"
#include "tests/support/XTestWindow.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00;
constexpr auto kWindowManagerWithin = 15s;
constexpr auto kPublishedWithin = 90s;  // libVLC's start and the first segments, under the sanitizers
constexpr auto kHiddenFor = 8s;         // how long a hidden window is watched
constexpr auto kShownAgainWithin = 3s;  // from showing the window to a snapshot of it
constexpr auto kWindowManagerActsWithin = 10s;
constexpr auto kSegmentPlayedWithin = 20s;
constexpr auto kClosingWithin = 15s;
constexpr auto kLookPause = 200ms;
constexpr auto kSnapshotPeriod = 1500ms;  // a snapshot is written about once a second
constexpr const char* kClass = "FwGreen";
constexpr const char* kCaption = "Green window";
// Decoded pictures blur a little: a pixel is the desktop's red or the window's green from here on.
constexpr int kChannelOn = 160, kChannelOff = 90;

bool IsRed(uint32_t rgb) {
    return int((rgb >> 16) & 0xFF) >= kChannelOn && int((rgb >> 8) & 0xFF) <= kChannelOff && int(rgb & 0xFF) <= kChannelOff;
}
bool IsGreen(uint32_t rgb) {
    return int((rgb >> 8) & 0xFF) >= kChannelOn && int((rgb >> 16) & 0xFF) <= kChannelOff && int(rgb & 0xFF) <= kChannelOff;
}

struct TColours {
    size_t Red = 0, Green = 0, NotBlack = 0, All = 0;
};

TColours Count(const std::vector<uint32_t>& pixels) {
    TColours c;
    for (const uint32_t px : pixels) {
        const uint32_t rgb = px & 0xFFFFFF;
        c.Red += IsRed(rgb);
        c.Green += IsGreen(rgb);
        c.NotBlack += rgb != 0;
        ++c.All;
    }
    return c;
}

// The newest snapshot: its colours and when it was written; nothing while there is none to read.
struct TSnapshot {
    TColours Colours;
    fs::file_time_type Written;
};
std::optional<TSnapshot> NewestSnapshot(const fs::path& share) {
    const std::optional<fs::path> file = fw_test::NewestFile(share, "capimg_", ".png");
    std::error_code error;
    const fs::file_time_type written = file ? fs::last_write_time(*file, error) : fs::file_time_type{};
    QImage image;
    if (!file || error || !image.load(QString::fromStdString(file->string()))) return std::nullopt;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(rgb.constScanLine(y));
        pixels.insert(pixels.end(), row, row + rgb.width());
    }
    return TSnapshot{Count(pixels), written};
}

// What the published pictures showed while the window was out of sight.
struct TWatched {
    size_t Snapshots = 0, RedSnapshots = 0, LitSnapshots = 0;
    size_t Segments = 0, Pictures = 0, RedPictures = 0;
};

class WindowCaptureTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ASSERT_TRUE(program.ok()) << "no program folder or no private X server";
        ::setenv("DISPLAY", program.Display().c_str(), 1);  // for the window manager
        if (GetParam()) {
            windowManager = fw_test::StartWindowManager(root.path() / "started", kWindowManagerWithin);
            ASSERT_TRUE(windowManager) << "the window manager did not come up";
        }
        desktop = fw_test::PaintedDesktop(fw_test::FramewickChild::kScreenWidth, fw_test::FramewickChild::kScreenHeight, kRed);
        OpenWindow();
        fw_test::WriteFile(program.ProgramFolder() / "framewick.ini", "[Hls]\nSegLen=1\n");  // segments every second
    }

    void OpenWindow() {
        window = std::make_unique<fw_test::XTestWindow>(fw_test::XTestWindow::Options{
            .X = 300, .Y = 200, .Width = 320, .Height = 240, .Class = kClass, .Caption = kCaption,
            .Display = program.Display(), .Background = kGreen, .UserPlaced = true});
        window->Map();
        ASSERT_TRUE(fw_test::WaitUntil([&] { return window->MapState() == XCB_MAP_STATE_VIEWABLE; },
                                       kWindowManagerActsWithin));
    }

    bool SnapshotShowsTheWindow() {
        const std::optional<TSnapshot> snapshot = NewestSnapshot(program.Share());
        return snapshot && snapshot->Colours.Green >= 320u * 240u && snapshot->Colours.Red == 0;
    }

    // Looks at every snapshot written during kHiddenFor and at every picture of the segments written
    // then, the one holding the last of that time included. A snapshot grabbed before the window went
    // may still be written just after.
    TWatched WatchHidden() {
        TWatched w;
        const fs::file_time_type blackFrom = fs::file_time_type::clock::now() + kSnapshotPeriod;
        std::set<fs::file_time_type> snapshots;
        segments.SkipListed();  // complete before the window went
        const auto end = std::chrono::steady_clock::now() + kHiddenFor;
        while (std::chrono::steady_clock::now() < end) {
            if (const std::optional<TSnapshot> snapshot = NewestSnapshot(program.Share());
                snapshot && snapshots.insert(snapshot->Written).second) {
                ++w.Snapshots;
                w.RedSnapshots += snapshot->Colours.Red > 0;
                w.LitSnapshots += snapshot->Written > blackFrom && snapshot->Colours.NotBlack > 0;
            }
            segments.KeepNew();
            std::this_thread::sleep_for(kLookPause);
        }
        segments.KeepUntilNextSegment(kSegmentPlayedWithin);
        for (const fs::path& segment : segments.TakeKept()) {
            ++w.Segments;
            fw_test::DecodeTsPictures(segment, kSegmentPlayedWithin, [&](const fw_test::TPicture& picture) {
                ++w.Pictures;
                w.RedPictures += Count(picture.Pixels).Red > 0;
            });
        }
        return w;
    }

    void ExpectOnlyBlack(const TWatched& w, const char* what) {
        EXPECT_EQ(w.RedSnapshots, 0u) << what << ": a snapshot showed the desktop";
        EXPECT_EQ(w.RedPictures, 0u) << what << ": a segment showed the desktop";
        EXPECT_GE(w.Snapshots, 5u) << what << ": the snapshots went on";
        EXPECT_EQ(w.LitSnapshots, 0u) << what << ": the snapshots are black";
        EXPECT_GE(w.Segments, 4u) << what << ": the playlist went on";
        EXPECT_GT(w.Pictures, 0u) << what;
    }

    fw_test::TempDir root;
    std::unique_ptr<fw_test::ChildProcess> windowManager;
    std::unique_ptr<fw_test::XTestWindow> desktop;
    std::unique_ptr<fw_test::XTestWindow> window;
    const fw_test::FramewickChild program{root.path(), fw_test::FramewickChild::TCapture::Window,
                                          fw_test::FramewickChild::kDefaultArea, {kClass, kCaption}};
    fw_test::TSegmentKeeper segments{program.Share(), root.path() / "segments"};
};

TEST_P(WindowCaptureTest, HiddenMinimisedOrClosedWindowIsPublishedBlackNeverTheDesktop) {
    const std::unique_ptr<fw_test::ChildProcess> framewick = program.Start();
    ASSERT_TRUE(framewick->running());
    ASSERT_TRUE(fw_test::WaitUntil([&] { return SnapshotShowsTheWindow(); }, kPublishedWithin)) << "no snapshot of the window";
    ASSERT_TRUE(fw_test::WaitUntil([&] { return fw_test::ListedSegments(program.Share()).size() >= 2; }, kPublishedWithin))
        << "no playlist";
    segments.SkipListed();

    const std::string name = std::string("window \"") + kCaption + "\" (class \"" + kClass + "\")";
    const std::string hiddenLine = name + " is hidden - black pictures are published until it is shown";
    const std::string shownLine = name + " is shown again";
    const std::string goneLine = name + " is gone - black pictures are published until it is found again";
    const std::string foundLine = name + " is found again";
    std::string log;
    const auto times = [&](const std::string& text) {
        size_t n = 0;
        for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++n;
        return n;
    };
    // The daily log is written every second: waits until it says text for the n-th time.
    const auto logSays = [&](const std::string& text, size_t n) {
        return fw_test::WaitUntil(
            [&] {
                log = program.LogText();
                return times(text) >= n;
            },
            kWindowManagerActsWithin);
    };

    struct Change {
        const char* what;
        std::function<void()> hide;
        std::function<void()> show;
        const std::string& hiddenSays;
        const std::string& shownSays;
        bool needsWindowManager;
    };
    const Change changes[] = {
        {"unmapped", [&] { window->Unmap(); }, [&] { window->Map(); }, hiddenLine, shownLine, false},
        {"minimised",
         [&] {
             window->Iconify();
             ASSERT_TRUE(fw_test::WaitUntil([&] { return window->MapState() != XCB_MAP_STATE_VIEWABLE; },
                                            kWindowManagerActsWithin));
         },
         [&] { window->Map(); }, hiddenLine, shownLine, true},
        {"closed", [&] { window->Destroy(); }, [&] { OpenWindow(); }, goneLine, foundLine, false},
    };
    std::map<std::string, size_t> said;
    for (const Change& change : changes) {
        if (change.needsWindowManager && !GetParam()) continue;
        change.hide();
        ExpectOnlyBlack(WatchHidden(), change.what);
        EXPECT_TRUE(logSays(change.hiddenSays, ++said[change.hiddenSays])) << change.what << "\n" << log;
        change.show();
        EXPECT_TRUE(fw_test::WaitUntil([&] { return SnapshotShowsTheWindow(); }, kShownAgainWithin))
            << change.what << ": the window is not shown again";
        // A window shown at another place starts the job again; the next change waits until the stream
        // goes on after that.
        EXPECT_TRUE(segments.WaitForNew(2, kSegmentPlayedWithin)) << change.what << ": the stream stopped";
        EXPECT_TRUE(logSays(change.shownSays, ++said[change.shownSays])) << change.what << "\n" << log;
    }
    // One line for each change, none repeated while it lasts.
    log = program.LogText();
    for (const std::string& line : {hiddenLine, shownLine, goneLine, foundLine})
        EXPECT_EQ(times(line), said[line]) << line << "\n" << log;
    EXPECT_EQ(times("not found"), 0u) << log;

    ASSERT_EQ(::kill(framewick->pid(), SIGTERM), 0);
    EXPECT_EQ(framewick->WaitForExit(kClosingWithin), std::optional<int>(0));
}

INSTANTIATE_TEST_SUITE_P(Desktops, WindowCaptureTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "ReparentingWindowManager" : "NoWindowManager");
                         });

}  // namespace
