// Keeping an X display awake, against an Xvfb of the test's own whose screen saver starts after two
// seconds without input.
#include <gtest/gtest.h>

#include <thread>

#include "platform/display/xcb_keep_awake.h"
#include "tests/platform/display/screen_saver_probe.h"

namespace {

using namespace std::chrono_literals;

constexpr auto kSaverComesWithin = 20s;  // two seconds of idle time, with room for a busy machine
constexpr auto kHeldFor = 6s;            // three times the saver's timeout

TEST(XcbKeepAwakeTest, HoldWakesAndKeepsTheScreenAndReleaseGivesTheSaverBack) {
    fw_test::ShortSaverXServer x;
    ASSERT_TRUE(x.ready());
    ASSERT_TRUE(fw_test::WaitUntil([&] { return x.SaverOn(); }, kSaverComesWithin)) << "the saver never came";

    platform::TXcbKeepAwake awake(x.name().c_str());
    ASSERT_TRUE(awake.Available());
    awake.Hold();
    EXPECT_TRUE(awake.Holding());
    EXPECT_TRUE(fw_test::WaitUntil([&] { return !x.SaverOn(); }, 5s)) << "the hold did not wake the screen";
    // Held (and renewed each second, as the keep-awake timer does): the saver stays away.
    const auto end = std::chrono::steady_clock::now() + kHeldFor;
    auto nextHold = std::chrono::steady_clock::now() + 1s;
    while (std::chrono::steady_clock::now() < end) {
        ASSERT_FALSE(x.SaverOn()) << "the saver came while held";
        if (std::chrono::steady_clock::now() >= nextHold) {
            awake.Hold();
            nextHold += 1s;
        }
        std::this_thread::sleep_for(100ms);
    }

    awake.Release();
    EXPECT_FALSE(awake.Holding());
    EXPECT_TRUE(fw_test::WaitUntil([&] { return x.SaverOn(); }, kSaverComesWithin)) << "released, the saver stays away";
}

// A holder that goes gives the display its own settings back.
TEST(XcbKeepAwakeTest, AHolderThatGoesGivesTheSaverBack) {
    fw_test::ShortSaverXServer x;
    ASSERT_TRUE(x.ready());
    {
        platform::TXcbKeepAwake awake(x.name().c_str());
        awake.Hold();
    }
    EXPECT_TRUE(fw_test::WaitUntil([&] { return x.SaverOn(); }, kSaverComesWithin));
}

TEST(XcbKeepAwakeTest, WithoutAServerHoldingDoesNothing) {
    platform::TXcbKeepAwake awake(":9999");
    EXPECT_FALSE(awake.Available());
    awake.Hold();
    EXPECT_FALSE(awake.Holding());
}

}  // namespace
