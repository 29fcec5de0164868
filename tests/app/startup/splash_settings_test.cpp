#include <gtest/gtest.h>

#include <filesystem>

#include "app/settings/app_paths.h"
#include "app/startup/SplashSettings.h"
#include "platform/display/fake_display.h"
#include "tests/support/test_env.h"

namespace {

struct SplashSettingsTest : ::testing::Test {
    void SetUp() override {
        app::SetAppPaths(app::MakeAppPaths(dir.path().string(), dir.path().string(), ""));
        auto display = std::make_shared<platform::TFakeDisplay>();
        display->SetMonitors({platform::FakeMonitor(0, 0, 1920, 1080, true), platform::FakeMonitor(1920, 0, 3200, 1024)});
        platform::SetCurrentDisplay(display);
    }
    void TearDown() override { platform::SetCurrentDisplay(nullptr); }
    fw_test::TempDir dir;
};

TEST_F(SplashSettingsTest, MonitorIndexIsReadBackAndDefaultsToOne) {
    EXPECT_EQ(app::ReadSplashMonitor(), 1) << "no splash.ini";
    ASSERT_TRUE(app::WriteSplashMonitor(2));
    EXPECT_EQ(fw_test::ReadFile(dir / "splash.ini"), "[Splash]\nMonIdx=2\n");
    EXPECT_EQ(app::ReadSplashMonitor(), 2);
    fw_test::WriteFile(dir / "splash.ini", "[Splash]\nMonIdx=second\n");
    EXPECT_EQ(app::ReadSplashMonitor(), 1);
}

TEST_F(SplashSettingsTest, AReadOnlySplashIniIsNotReplaced) {
    fw_test::WriteFile(dir / "splash.ini", "[Splash]\nMonIdx=2\n");
    std::filesystem::permissions(dir / "splash.ini", std::filesystem::perms::owner_read);
    std::string error;
    EXPECT_FALSE(app::WriteSplashMonitor(1, &error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_EQ(fw_test::ReadFile(dir / "splash.ini"), "[Splash]\nMonIdx=2\n");
    EXPECT_EQ(std::filesystem::status(dir / "splash.ini").permissions(), std::filesystem::perms::owner_read);
}

TEST_F(SplashSettingsTest, SplashIsCentredOnItsMonitorOrTheFirst) {
    struct Case {
        int monitor;
        platform::TPoint expected;
    };
    const Case cases[] = {
        {1, {(1920 - 400) / 2, (1080 - 300) / 2}},
        {2, {1920 + (1280 - 400) / 2, (1024 - 300) / 2}},
        {3, {(1920 - 400) / 2, (1080 - 300) / 2}},  // a monitor that does not exist: the first
        {0, {(1920 - 400) / 2, (1080 - 300) / 2}},
    };
    for (const Case& c : cases) {
        app::WriteSplashMonitor(c.monitor);
        EXPECT_EQ(app::SplashOrigin(400, 300), c.expected) << "MonIdx " << c.monitor;
    }
}

TEST_F(SplashSettingsTest, VersionTextNamesTheProgramsVersion) {
    const std::string text = app::SplashVersionText();
    EXPECT_EQ(text.rfind("V ", 0), 0u);
    EXPECT_GT(text.size(), 2u);
}

}  // namespace
