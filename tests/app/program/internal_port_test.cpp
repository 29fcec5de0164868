// Framewick itself as a second process while another program listens on the capture's internal port
// and sends a red picture stream to whoever connects (what a stranger's stream looks like): the
// capture takes the next port of the counter and says so in its daily log, and the pictures it
// publishes, its HLS segments and its snapshots, show the screen (a green area), never the red.
#include <gtest/gtest.h>
#include <signal.h>
#include <xcb/xcb.h>

#include <QImage>
#include <chrono>
#include <filesystem>
#include <regex>

#include "tests/app/program/framewick_child.h"
#include "tests/app/program/published_files.h"
#include "tests/app/program/ts_picture.h"
#include "tests/support/foreign_listener.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using fw_test::kFirstSinkPort;
constexpr auto kPublishedWithin = 90s;  // libVLC's start and the first segments, under the sanitizers
constexpr auto kDecodedWithin = 20s;
constexpr auto kClosingWithin = 10s;
constexpr fw_test::TScreenArea kArea{1400, 700, 320, 240};
constexpr uint32_t kGreen = 0x00FF00;
// BT.601 limited-range Y, U and V of pure red.
constexpr uint8_t kRedY = 81, kRedU = 90, kRedV = 240;
// A mean channel at or above this is "on", at or below kChannelOff "off" (the encoder blurs a little).
constexpr double kChannelOn = 150, kChannelOff = 100;

// A window of one colour over the capture's area of display, above every managed window.
class TColourPatch {
public:
    TColourPatch(const std::string& display, const fw_test::TScreenArea& area, uint32_t colour) {
        connection_ = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(connection_)) return;
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        window_ = xcb_generate_id(connection_);
        const uint32_t values[] = {colour, 1};
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, static_cast<int16_t>(area.Left),
                          static_cast<int16_t>(area.Top), static_cast<uint16_t>(area.Width),
                          static_cast<uint16_t>(area.Height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                          XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
        xcb_map_window(connection_, window_);
        free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    }
    ~TColourPatch() {
        if (window_ != 0) xcb_destroy_window(connection_, window_);
        xcb_disconnect(connection_);
    }
    TColourPatch(const TColourPatch&) = delete;
    TColourPatch& operator=(const TColourPatch&) = delete;
    bool ok() const { return window_ != 0; }

private:
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t window_ = 0;
};

fw_test::TMeanColour MeanOfImage(const QImage& image) {
    fw_test::TPicture picture;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    picture.Width = rgb.width();
    picture.Height = rgb.height();
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(rgb.constScanLine(y));
        picture.Pixels.insert(picture.Pixels.end(), row, row + rgb.width());
    }
    return fw_test::MeanColour(picture);
}

std::string Describe(const fw_test::TMeanColour& c) {
    return "mean red " + std::to_string(c.Red) + ", green " + std::to_string(c.Green) + ", blue " + std::to_string(c.Blue);
}

bool IsGreen(const fw_test::TMeanColour& c) { return c.Green >= kChannelOn && c.Red <= kChannelOff; }

TEST(InternalPortTest, StrangerOnTheInternalPortNeverReachesThePublishedPictures) {
    fw_test::TempDir root;
    const fw_test::FramewickChild program(root.path(), fw_test::FramewickChild::TCapture::ScreenArea, kArea);
    ASSERT_TRUE(program.ok());
    fw_test::WriteFile(program.ProgramFolder() / "framewick.ini", "[Hls]\nSegLen=1\n");  // segments every second
    TColourPatch screen(program.Display(), kArea, kGreen);
    ASSERT_TRUE(screen.ok()) << "no X server of the program's own";

    // The test's own network: nobody but the test holds or reads the first port.
    fw_test::TForeignListener stranger(kFirstSinkPort,
                                       fw_test::SolidYv12Picture(kArea.Width, kArea.Height, kRedY, kRedU, kRedV));
    ASSERT_TRUE(stranger.Listening());

    const std::unique_ptr<fw_test::ChildProcess> child = program.Start();
    fw_test::ChildProcess& framewick = *child;
    ASSERT_TRUE(framewick.running());

    std::optional<fs::path> snapshot;
    QImage image;
    ASSERT_TRUE(fw_test::WaitUntil(
        [&] {
            snapshot = fw_test::NewestFile(program.Share(), "capimg_", ".png");
            return snapshot && image.load(QString::fromStdString(snapshot->string()));
        },
        kPublishedWithin))
        << "no snapshot";
    EXPECT_EQ(image.size(), QSize(kArea.Width, kArea.Height));
    EXPECT_TRUE(IsGreen(MeanOfImage(image))) << Describe(MeanOfImage(image));

    std::vector<fs::path> segments;
    ASSERT_TRUE(fw_test::WaitUntil([&] { return (segments = fw_test::ListedSegments(program.Share())).size() >= 2; }, kPublishedWithin))
        << "no playlist of two segments";
    const std::optional<fw_test::TPicture> picture = fw_test::DecodeLastTsPicture(segments.back(), kDecodedWithin);
    ASSERT_TRUE(picture) << segments.back() << " holds no picture libVLC can decode";
    EXPECT_TRUE(IsGreen(fw_test::MeanColour(*picture))) << Describe(fw_test::MeanColour(*picture));
    EXPECT_EQ(stranger.Clients(), 0) << "the capture read from the stranger's port";

    const std::string first = std::to_string(kFirstSinkPort);
    const std::regex moved("internal port " + first + " cannot be had - the capture takes port ([0-9]+)");
    std::smatch took;
    std::string logs;
    EXPECT_TRUE(fw_test::WaitUntil(
        [&] {
            logs = program.LogText();
            return std::regex_search(logs, took, moved) &&
                   logs.find("[Orbelle32] TCP server cannot listen on 127.0.0.1:" + first + ":") != std::string::npos;
        },
        kDecodedWithin))
        << logs;
    if (!took.empty()) EXPECT_NE(took[1].str(), first);

    ASSERT_EQ(::kill(framewick.pid(), SIGTERM), 0);
    EXPECT_EQ(framewick.WaitForExit(kClosingWithin), std::optional<int>(0));
}

}  // namespace
