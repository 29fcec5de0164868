#include "platform/filters/XcbScreenSource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/filters/SharedFrameMemory.h"
#include "tests/support/PrivateXServer.h"

namespace platform {
namespace {

constexpr int kScreenW = 640, kScreenH = 480;
constexpr int kBandH = 100;  // a blue band over the top of the red screen tells the rows apart
constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF;

uint32_t PixelAt(const uint8_t* frame, int width, int height, int x, int y, TRowOrder order) {
    const int row = order == TRowOrder::BottomUp ? height - 1 - y : y;
    const uint8_t* p = frame + (static_cast<size_t>(row) * width + x) * 4;
    return (p[2] << 16) | (p[1] << 8) | p[0];
}

// An override-redirect window of one colour over the top of the screen, for as long as it lives.
class TBand {
public:
    TBand(const std::string& display, uint32_t rgb) {
        conn_ = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(conn_)) return;
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data;
        const uint32_t values[] = {rgb, 1};
        const xcb_window_t w = xcb_generate_id(conn_);
        xcb_create_window(conn_, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, kScreenW, kBandH, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT,
                          values);
        xcb_map_window(conn_, w);
        std::free(xcb_get_input_focus_reply(conn_, xcb_get_input_focus(conn_), nullptr));  // drawn once answered
    }
    ~TBand() { xcb_disconnect(conn_); }

private:
    xcb_connection_t* conn_ = nullptr;
};

// A frame buffer of one of the kinds the screen-capture stream hands to Grab.
struct TFrameKind {
    const char* name;
    TRowOrder order;
    bool shared;  // a shared buffer, which the server may fill directly
};
constexpr TFrameKind kFrameKinds[] = {
    {"bottom-up", TRowOrder::BottomUp, false},
    {"top-down", TRowOrder::TopDown, false},
    {"top-down shared", TRowOrder::TopDown, true},
};

std::shared_ptr<uint8_t> NewFrame(const TFrameKind& kind, size_t bytes) {
    if (kind.shared) return std::shared_ptr<uint8_t>(AllocateSharedFrame(bytes), FreeSharedFrame);
    return std::shared_ptr<uint8_t>(new uint8_t[bytes], std::default_delete<uint8_t[]>());
}

class XcbScreenSourceTest : public ::testing::TestWithParam<bool> {
protected:
    static void SetUpTestSuite() {
        server_ = new fw_test::PrivateXServer(kScreenW, kScreenH);
        if (server_->ok()) server_->SetRootColour("red");
    }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }
    static fw_test::PrivateXServer* server_;
};
fw_test::PrivateXServer* XcbScreenSourceTest::server_ = nullptr;

TEST_P(XcbScreenSourceTest, GrabsTheScreenAndPadsTheOverhangBlack) {
    ASSERT_TRUE(server_->ok());
    const bool shm = GetParam();
    std::string why;
    auto source = TXcbScreenSource::Open(server_->name().c_str(), &why, shm);
    ASSERT_TRUE(source) << why;
    EXPECT_EQ(source->UsesSharedMemory(), shm);
    EXPECT_TRUE(source->FromDisplay());

    TBand band(server_->name(), kBlue);
    for (const TFrameKind& kind : kFrameKinds) {
        for (const TRect area : {MakeRect(0, 0, kScreenW, kScreenH), MakeRect(600, 440, 64, 48),
                                 MakeRect(-16, -16, 32, 32), MakeRect(0, 0, 640, 496), MakeRect(10, 90, 20, 20)}) {
            const size_t bytes = static_cast<size_t>(area.Width()) * area.Height() * 4;
            // Twice into the same buffer: the second grab must not keep anything of the first. Only the
            // readable part comes from the screen: the whole area, an inner part, or nothing.
            const std::shared_ptr<uint8_t> frame = NewFrame(kind, bytes);
            ASSERT_TRUE(frame) << kind.name;
            const TRect inner = MakeRect(area.Left + 5, area.Top + 3, area.Width() / 2, area.Height() / 2);
            for (const TRect readable : {area, area, inner, TRect{}}) {
                std::memset(frame.get(), 0x55, bytes);
                ASSERT_TRUE(source->Grab(area, readable, frame.get(), kind.order));
                for (int y = 0; y < area.Height(); y += 3)
                    for (int x = 0; x < area.Width(); x += 3) {
                        const TPoint p{area.Left + x, area.Top + y};
                        const bool shown = MakeRect(0, 0, kScreenW, kScreenH).Contains(p) && readable.Contains(p);
                        const uint32_t expected = !shown ? 0u : p.Y < kBandH ? kBlue : kRed;
                        ASSERT_EQ(PixelAt(frame.get(), area.Width(), area.Height(), x, y, kind.order), expected)
                            << kind.name << " " << area.Left << "," << area.Top << " +" << x << "," << y
                            << " readable " << readable.Left << "," << readable.Top << " " << readable.Width();
                    }
            }
        }
    }
    // Shared top-down frames whose rows lie wholly on the screen (the whole screen, the screen with rows
    // below it, a small area inside it) were written by the server itself, twice each, when it shares
    // memory with us; the others went through the copy.
    EXPECT_EQ(source->DirectPictures(), shm ? 6u : 0u);
}

INSTANTIATE_TEST_SUITE_P(SharedMemoryAndReplies, XcbScreenSourceTest, ::testing::Values(true, false));

TEST(XcbScreenSource, ALostServerFailsTheGrabWithoutEndingTheProcess) {
    fw_test::PrivateXServer server(320, 240);
    ASSERT_TRUE(server.ok());
    std::string why;
    auto source = TXcbScreenSource::Open(server.name().c_str(), &why);
    ASSERT_TRUE(source) << why;
    server.Kill();
    std::vector<uint8_t> frame(64 * 64 * 4, 0x77);
    EXPECT_FALSE(source->Grab(MakeRect(0, 0, 64, 64), MakeRect(0, 0, 64, 64), frame.data(), TRowOrder::BottomUp));
    EXPECT_EQ(frame, std::vector<uint8_t>(64 * 64 * 4, 0));  // black, not stale memory
    EXPECT_FALSE(source->Grab(MakeRect(0, 0, 64, 64), MakeRect(0, 0, 64, 64), frame.data(), TRowOrder::TopDown));
}

TEST(XcbScreenSource, NoServerIsAnErrorValue) {
    std::string why;
    EXPECT_FALSE(TXcbScreenSource::Open(":4999", &why));
    EXPECT_FALSE(why.empty());
}

}  // namespace
}  // namespace platform
