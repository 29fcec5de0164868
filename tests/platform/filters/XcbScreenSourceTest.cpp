#include "platform/filters/XcbScreenSource.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/PrivateXServer.h"

namespace platform {
namespace {

constexpr int kScreenW = 640, kScreenH = 480;

uint32_t PixelAt(const std::vector<uint8_t>& frame, int width, int height, int x, int y) {
    const uint8_t* p = frame.data() + (static_cast<size_t>(height - 1 - y) * width + x) * 4;
    return (p[2] << 16) | (p[1] << 8) | p[0];
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

    struct Case {
        TRect area;
    };
    for (const TRect area : {MakeRect(0, 0, kScreenW, kScreenH), MakeRect(600, 440, 64, 48),
                             MakeRect(-16, -16, 32, 32), MakeRect(0, 0, 640, 496)}) {
        std::vector<uint8_t> frame(static_cast<size_t>(area.Width()) * area.Height() * 4, 0x55);
        ASSERT_TRUE(source->Grab(area, frame.data()));
        for (int y = 0; y < area.Height(); y += 3)
            for (int x = 0; x < area.Width(); x += 3) {
                const bool onScreen = MakeRect(0, 0, kScreenW, kScreenH).Contains({area.Left + x, area.Top + y});
                ASSERT_EQ(PixelAt(frame, area.Width(), area.Height(), x, y), onScreen ? 0xFF0000u : 0u)
                    << area.Left << "," << area.Top << " +" << x << "," << y;
            }
    }
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
    EXPECT_FALSE(source->Grab(MakeRect(0, 0, 64, 64), frame.data()));
    EXPECT_EQ(frame, std::vector<uint8_t>(64 * 64 * 4, 0));  // black, not stale memory
    EXPECT_FALSE(source->Grab(MakeRect(0, 0, 64, 64), frame.data()));
}

TEST(XcbScreenSource, NoServerIsAnErrorValue) {
    std::string why;
    EXPECT_FALSE(TXcbScreenSource::Open(":4999", &why));
    EXPECT_FALSE(why.empty());
}

}  // namespace
}  // namespace platform
