// A window capture through the real screen-capture filter (created by COM) on an X server of the test's
// own, bare and under a window manager (openbox): a green window on a desktop covered in red. Whatever
// the window does (shown, unmapped, minimised, destroyed, opened again), no picture ever holds the red
// of the desktop: the window's own pixels while it is shown, black otherwise.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <xcb/xcb.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/display/xcb_display.h"
#include "platform/filters/ScreenCaptureData.h"
#include "tests/platform/filters/filter_picture.h"
#include "tests/support/PrivateXServer.h"
#include "tests/support/XTestWindow.h"
#include "tests/support/test_env.h"

namespace {

namespace r = screen_capture_record;
using namespace std::chrono_literals;

constexpr int kScreenW = 1024, kScreenH = 768;
constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00;
constexpr auto kWindowManagerWithin = 15s;
constexpr auto kChangeWithin = 10s;  // for the window manager to act on a request
constexpr int kMargin = 48;           // the capture area reaches this far around the window
constexpr const char* kClass = "FwGreen";
constexpr const char* kCaption = "Green window";

std::string ModulePath() {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "libFwScreenCapture.so").string();
}

class ScreenCaptureWindowTest : public ::testing::TestWithParam<bool> {
protected:
    static void SetUpTestSuite() {
        server_ = new fw_test::PrivateXServer(kScreenW, kScreenH);
        // The filter's library asks $DISPLAY for its screen and its windows.
        if (server_->ok()) ::setenv("DISPLAY", server_->name().c_str(), 1);
        CoInitialize();
        ASSERT_EQ(RegisterServerLibrary(ModulePath()), S_OK);
    }
    static void TearDownTestSuite() {
        CoUninitialize();
        delete server_;
    }

    void SetUp() override {
        ASSERT_TRUE(server_->ok()) << "no private X server";
        if (GetParam()) {
            windowManager_ = fw_test::StartWindowManager(dir_.path() / "started", kWindowManagerWithin);
            ASSERT_TRUE(windowManager_) << "the window manager did not come up";
        }
        // The desktop: red everywhere, below every other window, never managed.
        desktop_ = fw_test::PaintedDesktop(kScreenW, kScreenH, kRed, server_->name());
        OpenWindow();
        ASSERT_EQ(CoCreate(CLSID_ScreenCaptureFilter, data_), S_OK);
        // The capture area as the job computes it, with room around the window (frame included).
        platform::TXcbDisplay display(server_->name().c_str());
        const platform::TRect rect = display.GetWindowRect(window_->id()).value_or(platform::TRect{});
        ASSERT_FALSE(rect.IsEmpty());
        TScreenCaptureFilterParams rec{};
        r::PutByte(rec, r::kCaptureMode, 2);
        r::PutByte(rec, r::kParamsKind, r::kParamsKindValue);
        r::PutInt32(rec, r::kLeft, rect.Left - kMargin);
        r::PutInt32(rec, r::kTop, rect.Top - kMargin);
        r::PutInt32(rec, r::kWidth, rect.Width() + 2 * kMargin);
        r::PutInt32(rec, r::kHeight, rect.Height() + 2 * kMargin);
        r::PutInt32(rec, r::kFrameRate, 25);
        r::PutInt32(rec, r::kScalePercent, 100);
        r::PutShortString(rec, r::kWindowClass, r::kWindowTextField, kClass);
        r::PutShortString(rec, r::kWindowCaption, r::kWindowTextField, kCaption);
        ASSERT_EQ(data_->SetCaptureParams(rec), S_OK);
    }
    void TearDown() override {
        data_.Reset();
        window_.reset();
        desktop_.reset();
        windowManager_.reset();
    }

    void OpenWindow() {
        window_ = std::make_unique<fw_test::XTestWindow>(fw_test::XTestWindow::Options{
            .X = 300, .Y = 200, .Width = 320, .Height = 240, .Class = kClass, .Caption = kCaption,
            .Display = server_->name(), .Background = kGreen, .UserPlaced = true});
        window_->Map();
        ASSERT_TRUE(fw_test::WaitUntil([&] { return window_->MapState() == XCB_MAP_STATE_VIEWABLE; }, kChangeWithin));
    }

    // One picture of the filter, its colours counted; every picture ever taken must be free of red.
    fw_test::TPictureColours Take() {
        const fw_test::TPictureColours c = fw_test::TakeFilterPicture(*data_.Get());
        EXPECT_EQ(c.Red, 0u) << "the desktop went out";
        return c;
    }
    bool ShowsTheWindow() {
        const fw_test::TPictureColours c = Take();
        return c.Any && c.Green >= 320u * 240u;
    }
    bool ShowsBlack() {
        const fw_test::TPictureColours c = Take();
        return c.Any && c.NotBlack == 0;
    }

    static fw_test::PrivateXServer* server_;
    fw_test::TempDir dir_;
    std::unique_ptr<fw_test::ChildProcess> windowManager_;
    std::unique_ptr<fw_test::XTestWindow> desktop_;
    std::unique_ptr<fw_test::XTestWindow> window_;
    ComPtr<IScreenCaptureData> data_;
};

fw_test::PrivateXServer* ScreenCaptureWindowTest::server_ = nullptr;

TEST_P(ScreenCaptureWindowTest, OnlyTheWindowOrBlackEverGoesOut) {
    ASSERT_TRUE(fw_test::WaitUntil([&] { return ShowsTheWindow(); }, kChangeWithin)) << "shown";

    window_->Unmap();
    EXPECT_TRUE(ShowsBlack()) << "unmapped: black from the very next picture";
    window_->Map();
    EXPECT_TRUE(fw_test::WaitUntil([&] { return ShowsTheWindow(); }, kChangeWithin)) << "mapped again";

    if (GetParam()) {
        window_->Iconify();
        ASSERT_TRUE(fw_test::WaitUntil([&] { return window_->MapState() != XCB_MAP_STATE_VIEWABLE; }, kChangeWithin))
            << "the window manager did not minimise the window";
        EXPECT_TRUE(ShowsBlack()) << "minimised";
        window_->Map();  // a minimised window asks to be shown again by mapping itself
        EXPECT_TRUE(fw_test::WaitUntil([&] { return ShowsTheWindow(); }, kChangeWithin)) << "restored";
    }

    window_->Destroy();
    EXPECT_TRUE(ShowsBlack()) << "destroyed";
    EXPECT_TRUE(ShowsBlack()) << "still gone";
    OpenWindow();
    EXPECT_TRUE(fw_test::WaitUntil([&] { return ShowsTheWindow(); }, kChangeWithin)) << "opened again";
}

// A window of another caption on the same spot is not the captured window.
TEST_P(ScreenCaptureWindowTest, AnotherWindowInItsPlaceIsNotShown) {
    window_->Destroy();
    fw_test::XTestWindow stranger(fw_test::XTestWindow::Options{
        .X = 300, .Y = 200, .Width = 320, .Height = 240, .Class = kClass, .Caption = "Mail - inbox",
        .Display = server_->name(), .Background = kGreen, .UserPlaced = true});
    stranger.Map();
    ASSERT_TRUE(fw_test::WaitUntil([&] { return stranger.MapState() == XCB_MAP_STATE_VIEWABLE; }, kChangeWithin));
    EXPECT_TRUE(ShowsBlack());
}

// A window renamed while captured (a document opened in it), closed and opened again under its new
// name is the captured window again.
TEST_P(ScreenCaptureWindowTest, RenamedWindowIsFoundAgainUnderItsNewName) {
    ASSERT_TRUE(fw_test::WaitUntil([&] { return ShowsTheWindow(); }, kChangeWithin));
    window_->SetCaption("Green window - notes.txt");
    EXPECT_TRUE(ShowsTheWindow());
    window_->Destroy();
    EXPECT_TRUE(ShowsBlack());
    fw_test::XTestWindow reopened(fw_test::XTestWindow::Options{
        .X = 300, .Y = 200, .Width = 320, .Height = 240, .Class = kClass, .Caption = "Green window - notes.txt",
        .Display = server_->name(), .Background = kGreen, .UserPlaced = true});
    reopened.Map();
    EXPECT_TRUE(fw_test::WaitUntil([&] { return ShowsTheWindow(); }, kChangeWithin));
}

INSTANTIATE_TEST_SUITE_P(Desktops, ScreenCaptureWindowTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "ReparentingWindowManager" : "NoWindowManager");
                         });

}  // namespace
