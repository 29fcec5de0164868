#include "engine/util/monitors.h"

#include <gtest/gtest.h>

#include "platform/display/fake_display.h"

namespace {

using platform::FakeMonitor;
using platform::TMonitorInfo;

class MonitorsTest : public ::testing::Test {
protected:
    void Use(std::vector<TMonitorInfo> monitors) {
        display_->SetMonitors(std::move(monitors));
        platform::SetCurrentDisplay(display_);
    }
    void TearDown() override { platform::SetCurrentDisplay(nullptr); }
    std::shared_ptr<platform::TFakeDisplay> display_ = std::make_shared<platform::TFakeDisplay>();
};

const TMonitorInfo kPrimary = FakeMonitor(0, 0, 1920, 1080, true);
const TMonitorInfo kRight = FakeMonitor(1920, 0, 3840, 1080);
const TMonitorInfo kLeft = FakeMonitor(-1280, 0, 0, 1024);
const TMonitorInfo kAbove = FakeMonitor(0, -1024, 1280, 0);

struct CenterCase {
    std::vector<TMonitorInfo> Monitors;
    int Monitor, Width, Height;
    int Left, Top;
};

TEST_F(MonitorsTest, CenterPositionCases) {
    const CenterCase cases[] = {
        {{kPrimary}, 1, 400, 300, 760, 390},
        {{kPrimary}, 7, 400, 300, 760, 390},          // above the count: monitor 1
        {{kPrimary, kRight}, 2, 400, 300, 2680, 390},
        {{kPrimary, kLeft}, 2, 400, 300, -840, 362},
        {{kPrimary, kAbove}, 2, 400, 300, 440, -662},
        {{kPrimary}, 1, 2000, 300, 40, 390},           // wider than its monitor
        {{kLeft, kPrimary}, 1, 400, 300, -840, 362},
    };
    for (const auto& c : cases) {
        Use(c.Monitors);
        platform::TPoint p = engine::GetMonitorCenterPos(c.Monitor, c.Width, c.Height);
        EXPECT_EQ(p.X, c.Left) << "monitor " << c.Monitor << " width " << c.Width;
        EXPECT_EQ(p.Y, c.Top) << "monitor " << c.Monitor << " width " << c.Width;
    }
}

struct IndexCase {
    std::vector<TMonitorInfo> Monitors;
    int X, Y;
    int Index;
};

TEST_F(MonitorsTest, MonitorIndexAtCases) {
    const IndexCase cases[] = {
        {{kPrimary}, 5000, 5000, 1},
        {{kPrimary, kRight}, 1920, 10, 2},
        {{kPrimary, kRight}, 1919, 10, 1},
        {{kPrimary, kRight}, 3839, 1079, 2},
        {{kPrimary, kRight}, 3840, 10, 1},   // right edge is outside
        {{kPrimary, kLeft}, -1, 0, 2},
        {{kPrimary, kLeft}, -1280, 1023, 2},
        {{kPrimary, kLeft}, -1280, 1024, 1}, // bottom edge is outside
        {{kRight, kPrimary}, 100, 100, 2},   // numbers follow the enumeration order
        {{}, 0, 0, 1},
    };
    for (const auto& c : cases) {
        Use(c.Monitors);
        EXPECT_EQ(engine::GetMonitorIndexAt(c.X, c.Y), c.Index) << c.X << "," << c.Y;
    }
}

struct BoundsCase {
    std::vector<TMonitorInfo> Monitors;
    engine::TDesktopBounds Expected;
};

TEST_F(MonitorsTest, DesktopBoundsCases) {
    const BoundsCase cases[] = {
        {{kLeft, kPrimary}, {-1280, 0, 1920, 1080, 3200, 1080}},
        {{FakeMonitor(100, 100, 500, 500)}, {0, 0, 500, 500, 500, 500}},
        {{kPrimary, kAbove, kRight}, {0, -1024, 3840, 1080, 3840, 2104}},
        {{FakeMonitor(-1920, -200, -100, -10)}, {-1920, -200, 0, 0, 1920, 200}},
        {{}, {0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        Use(c.Monitors);
        engine::TDesktopBounds b = engine::GetDesktopBounds();
        EXPECT_EQ(b.Left, c.Expected.Left);
        EXPECT_EQ(b.Top, c.Expected.Top);
        EXPECT_EQ(b.Right, c.Expected.Right);
        EXPECT_EQ(b.Bottom, c.Expected.Bottom);
        EXPECT_EQ(b.Width, c.Expected.Width);
        EXPECT_EQ(b.Height, c.Expected.Height);
        EXPECT_EQ(engine::GetDesktopLeft(), c.Expected.Left);
        EXPECT_EQ(engine::GetDesktopTop(), c.Expected.Top);
        EXPECT_EQ(engine::GetDesktopRight(), c.Expected.Right);
        EXPECT_EQ(engine::GetDesktopBottom(), c.Expected.Bottom);
    }
}

TEST_F(MonitorsTest, CountAndInfoFollowTheLayoutAtEveryCall) {
    Use({kPrimary});
    EXPECT_EQ(engine::GetMonitorCount(), 1);
    EXPECT_FALSE(engine::GetMonitorInfoByIndex(2).has_value());
    display_->SetMonitors({kPrimary, kLeft});  // a monitor plugged in
    EXPECT_EQ(engine::GetMonitorCount(), 2);
    ASSERT_TRUE(engine::GetMonitorInfoByIndex(2).has_value());
    EXPECT_EQ(engine::GetMonitorInfoByIndex(2)->Monitor, kLeft.Monitor);
    EXPECT_FALSE(engine::GetMonitorInfoByIndex(0).has_value());
    EXPECT_FALSE(engine::GetMonitorInfoByIndex(3).has_value());
}

TEST_F(MonitorsTest, NearestWorkArea) {
    TMonitorInfo withPanel = kPrimary;
    withPanel.WorkArea = platform::TRect{0, 0, 1920, 1040};
    Use({withPanel, kRight});
    EXPECT_EQ(engine::GetNearestMonitorWorkArea({100, 100}), withPanel.WorkArea);
    EXPECT_EQ(engine::GetNearestMonitorWorkArea({5000, 10}), kRight.WorkArea);
    EXPECT_EQ(engine::GetNearestMonitorWorkArea({-50, 2000}), withPanel.WorkArea);
    Use({});
    EXPECT_FALSE(engine::GetNearestMonitorWorkArea({0, 0}).has_value());
}

}  // namespace
