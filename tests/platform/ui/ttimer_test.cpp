#include "platform/ui/ttimer.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/platform/ui/qt_test_app.h"
#include "tests/support/event_pump.h"

using fw_test::PumpFor;
using fw_test::PumpUntil;

using platform::TTimer;
using namespace std::chrono_literals;

namespace {
constexpr auto kTickTimeout = 5s;
}

TEST(TTimer, StartsLikeTheClassLibrarysTimer) {
    TestApp();
    TTimer timer;
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000u);
}

TEST(TTimer, TicksPeriodicallyOnlyWhileEnabledWithIntervalAndHandler) {
    TestApp();
    int ticks = 0;
    TTimer timer;
    timer.SetInterval(10);
    PumpFor(50ms);  // no handler yet
    EXPECT_EQ(ticks, 0);
    timer.SetOnTimer([&] { ++ticks; });
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }, kTickTimeout));

    timer.SetEnabled(false);
    int atStop = ticks;
    PumpFor(60ms);
    EXPECT_EQ(ticks, atStop);

    timer.SetEnabled(true);
    timer.SetInterval(0);  // an interval of zero never ticks
    PumpFor(60ms);
    EXPECT_EQ(ticks, atStop);
    timer.SetInterval(10);
    EXPECT_TRUE(PumpUntil([&] { return ticks > atStop; }, kTickTimeout));
}

TEST(TTimer, OneShotDisablesItselfInItsHandler) {
    TestApp();
    int ticks = 0;
    TTimer timer;
    timer.SetInterval(10);
    timer.SetOnTimer([&] {
        ++ticks;
        timer.SetEnabled(false);
    });
    ASSERT_TRUE(PumpUntil([&] { return ticks == 1; }, kTickTimeout));
    PumpFor(80ms);
    EXPECT_EQ(ticks, 1);
    // And fires once more when enabled again.
    timer.SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return ticks == 2; }, kTickTimeout));
    PumpFor(50ms);
    EXPECT_EQ(ticks, 2);
}

TEST(TTimer, HandlerMayDestroyItsOwnTimer) {
    TestApp();
    auto timer = std::make_unique<TTimer>();
    auto state = std::make_shared<int>(0);  // held by the handler's closure
    int ticks = 0;
    timer->SetInterval(5);
    timer->SetOnTimer([&, state] {
        ++ticks;
        timer.reset();
        ++*state;  // the running closure is still alive after its timer went
    });
    ASSERT_TRUE(PumpUntil([&] { return ticks == 1; }, kTickTimeout));
    PumpFor(50ms);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(*state, 1);
    EXPECT_EQ(state.use_count(), 1);  // the closure went with the timer
}

TEST(TTimer, HandlerMayReplaceItselfAndRestartWithAnotherInterval) {
    TestApp();
    TTimer timer;
    int first = 0, second = 0;
    auto guard = std::make_shared<int>(7);
    timer.SetInterval(5);
    timer.SetOnTimer([&, guard] {
        ++first;
        timer.SetInterval(15);
        timer.SetOnTimer([&] { ++second; });
        EXPECT_EQ(*guard, 7);  // the replaced closure stays valid until it returns
    });
    ASSERT_TRUE(PumpUntil([&] { return second >= 2; }, kTickTimeout));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(timer.Interval(), 15u);
}

TEST(TTimer, DestroyedWhileDisabledOrBeforeTheFirstTick) {
    TestApp();
    int ticks = 0;
    {
        TTimer timer;
        timer.SetInterval(5);
        timer.SetOnTimer([&] { ++ticks; });
    }
    {
        TTimer disabled;
        disabled.SetEnabled(false);
    }
    PumpFor(30ms);
    EXPECT_EQ(ticks, 0);
}
