#include "engine/util/window_utils.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/display/fake_display.h"

namespace {

using platform::TFakeWindow;
using platform::TRect;

class WindowUtilsTest : public ::testing::Test {
protected:
    void SetUp() override { platform::SetCurrentDisplay(display_); }
    void TearDown() override { platform::SetCurrentDisplay(nullptr); }
    platform::WindowId Add(TRect rect, bool visible = true, platform::WindowId parent = 0) {
        TFakeWindow w;
        w.Rect = rect;
        w.Visible = visible;
        w.Parent = parent;
        return display_->AddWindow(w);
    }
    std::shared_ptr<platform::TFakeDisplay> display_ = std::make_shared<platform::TFakeDisplay>();
};

TEST_F(WindowUtilsTest, CoverTestsWalkOnlyTheWindowsAbove) {
    auto below = Add({0, 0, 1000, 1000});
    auto main = Add({100, 100, 500, 500});
    auto hidden = Add({0, 0, 1000, 1000}, false);
    auto apart = Add({600, 600, 900, 900});
    EXPECT_FALSE(engine::IsWindowCovered(main));  // the one below and the hidden one do not count
    auto corner = Add({400, 400, 700, 700});
    EXPECT_TRUE(engine::IsWindowCovered(main));
    EXPECT_TRUE(engine::IsWindowPointCovered(main, {450, 450}));
    EXPECT_FALSE(engine::IsWindowPointCovered(main, {500, 450}));  // right edge of the overlap is outside
    EXPECT_FALSE(engine::IsWindowPointCovered(main, {150, 150}));
    EXPECT_FALSE(engine::IsWindowPointCovered(main, {650, 650}));  // inside the cover, outside main
    display_->RaiseWindow(main);
    EXPECT_FALSE(engine::IsWindowCovered(main));
    EXPECT_TRUE(engine::IsWindowCovered(below));
    (void)hidden;
    (void)apart;
    (void)corner;
    EXPECT_FALSE(engine::IsWindowCovered(0x7777));
}

TEST_F(WindowUtilsTest, TopParentIsTheWindowJustBelowTheTopOfTheChain) {
    auto form = Add({0, 0, 800, 600});
    auto panel = Add({10, 10, 400, 300}, true, form);
    auto button = Add({20, 20, 60, 40}, true, panel);
    auto onForm = Add({500, 20, 560, 40}, true, form);
    EXPECT_EQ(engine::GetTopParentWindow(form), form);
    EXPECT_EQ(engine::GetTopParentWindow(button), panel);
    EXPECT_EQ(engine::GetTopParentWindow(onForm), onForm);
    EXPECT_EQ(engine::GetTopParentWindow(panel), panel);
}

TEST_F(WindowUtilsTest, KillWindowProcessEndsTheOwner) {
    pid_t child = ::fork();
    if (child == 0) {
        ::pause();
        ::_exit(0);
    }
    ASSERT_GT(child, 0);
    TFakeWindow w;
    w.Process = child;
    auto win = display_->AddWindow(w);
    EXPECT_TRUE(engine::KillWindowProcess(win));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_FALSE(engine::KillWindowProcess(0x7777));                  // no window
    EXPECT_FALSE(engine::KillWindowProcess(display_->AddWindow({})));  // owner unknown
}

TEST_F(WindowUtilsTest, OwnWindowEndsTheCallerAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TFakeWindow w;
    w.Process = ::getpid();
    auto win = display_->AddWindow(w);
    EXPECT_EXIT(engine::KillWindowProcess(win), ::testing::ExitedWithCode(engine::kKilledProcessExitCode), "");
    EXPECT_EXIT(engine::TerminateWindowOwner(0), ::testing::ExitedWithCode(engine::kKilledProcessExitCode), "");
}

}  // namespace
