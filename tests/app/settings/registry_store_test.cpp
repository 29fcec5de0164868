#include "app/settings/registry_store.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/settings/vlc_registry_preferences.h"
#include "common/version_info.h"
#include "engine/util/path_utils.h"
#include "platform/display/fake_display.h"
#include "platform/registry/registry.h"
#include "tests/support/test_env.h"

namespace {

std::string UserHiveText() {
    return fw_test::ReadFile(std::filesystem::path(std::getenv("FRAMEWICK_REGISTRY_HKCU")) / "user.reg");
}

class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        display_->SetMonitors({platform::FakeMonitor(0, 0, 1920, 1080, true)});
        platform::SetCurrentDisplay(display_);
        platform::TRegistry reg;
        reg.DeleteKey("SOFTWARE\\Quillmar");
    }
    void TearDown() override { platform::SetCurrentDisplay(nullptr); }
    std::shared_ptr<platform::TFakeDisplay> display_ = std::make_shared<platform::TFakeDisplay>();
};

TEST_F(RegistryStoreTest, KeyPathsComeFromTheVersionAndTheProgramName) {
    const std::string exe = engine::ExtractFileName(engine::ProgramFilePath());
    EXPECT_EQ(app::ExeRegKey(), "SOFTWARE\\Quillmar\\Framewick\\v9\\" + exe);
    EXPECT_EQ(app::InstanceRegKey(), "SOFTWARE\\Quillmar\\Framewick\\v9\\" + exe + "\\Inst0");
    EXPECT_EQ(app::MakeInstanceRegKey("9", "framewick", 2), "SOFTWARE\\Quillmar\\Framewick\\v9\\framewick\\Inst2");
    EXPECT_EQ(app::MakeInstanceRegKey("", "framewick", 2), "");
    EXPECT_EQ(app::MakeExeRegKey("9", ""), "");
    EXPECT_EQ(app::ColumnWidthValueName(2, "streamer_vst"), "w_2_streamer_vst");
}

TEST_F(RegistryStoreTest, ValuesLandUnderTheInstanceAndProgramKeys) {
    app::WriteFormOrigin("main", 3000, 40);
    app::WriteFormBounds("main_settings", {10, 20, 300, 400});
    app::RegWriteInstBool("lumora_min", true);
    app::RegWriteInstInteger(app::ColumnWidthValueName(0, "capture_vst"), 120);
    app::WriteDpiDialog(true);
    app::RegWriteExeString("VlcVer", "3.0.24");

    const std::string hive = UserHiveText();
    const std::string instKey = "key \"" + app::InstanceRegKey() + "\"";
    const std::string exeKey = "key \"" + app::ExeRegKey() + "\"";
    size_t inst = hive.find(instKey), exe = hive.find(exeKey + "\n");
    ASSERT_NE(inst, std::string::npos) << hive;
    ASSERT_NE(exe, std::string::npos) << hive;
    const std::string instBlock = hive.substr(inst, hive.find("end", inst) - inst);
    for (const char* line : {"int \"leftPos_main\" 3000", "int \"topPos_main\" 40", "int \"PosTop_main_settings\" 10",
                             "int \"PosLeft_main_settings\" 20", "int \"DimWidth_main_settings\" 400",
                             "int \"DimHeight_main_settings\" 300", "int \"lumora_min\" 1", "int \"w_0_capture_vst\" 120",
                             "int \"DpiDialog\" 1"})
        EXPECT_NE(instBlock.find(line), std::string::npos) << line << "\n" << hive;
    EXPECT_NE(hive.find("str \"VlcVer\" \"3.0.24\"", exe), std::string::npos) << hive;

    EXPECT_TRUE(app::RegReadInstBool("lumora_min", false));
    EXPECT_EQ(app::RegReadInstInteger("w_0_capture_vst", 0), 120);
    EXPECT_EQ(app::RegReadInstInteger("VlcIni", 1), 1);
    EXPECT_EQ(app::RegReadExeString("VlcVer", ""), "3.0.24");
    EXPECT_EQ(app::RegReadExeString("Missing", "dflt"), "dflt");
    EXPECT_TRUE(app::ReadDpiDialog());
}

TEST_F(RegistryStoreTest, ReadersNeverCreateTheKeys) {
    int left = -1, top = -1;
    app::TFormBounds bounds;
    EXPECT_FALSE(app::ReadFormOrigin("main", left, top));
    EXPECT_FALSE(app::ReadFormBounds("main_log", bounds));
    EXPECT_FALSE(app::RegReadInstBool("lumora", true) == false);
    EXPECT_EQ(app::RegReadExeString("VlcVer", "x"), "x");
    platform::TRegistry reg;
    EXPECT_FALSE(reg.KeyExists(app::ExeRegKey()));
}

TEST_F(RegistryStoreTest, SavedOriginIsClampedToTheDesktop) {
    struct Case {
        std::vector<platform::TMonitorInfo> Monitors;
        int Left, Top, ExpectedLeft, ExpectedTop;
    } cases[] = {
        {{platform::FakeMonitor(0, 0, 1920, 1080, true)}, 3000, 100, 0, 100},
        {{platform::FakeMonitor(0, 0, 1920, 1080, true)}, 100, 1080, 100, 0},
        {{platform::FakeMonitor(0, 0, 1920, 1080, true)}, -5, -7, 0, 0},
        {{platform::FakeMonitor(0, 0, 1920, 1080, true)}, 1919, 1079, 1919, 1079},
        {{platform::FakeMonitor(0, 0, 1920, 1080, true), platform::FakeMonitor(-1280, 0, 0, 1024)}, -1000, 50, -1000, 50},
    };
    for (const auto& c : cases) {
        display_->SetMonitors(c.Monitors);
        app::WriteFormOrigin("main", c.Left, c.Top);
        int left = 0, top = 0;
        ASSERT_TRUE(app::ReadFormOrigin("main", left, top));
        EXPECT_EQ(left, c.ExpectedLeft) << c.Left << "," << c.Top;
        EXPECT_EQ(top, c.ExpectedTop) << c.Left << "," << c.Top;
    }
}

TEST_F(RegistryStoreTest, SavedBoundsStayInsideTheNearestWorkArea) {
    platform::TMonitorInfo withPanel = platform::FakeMonitor(0, 0, 1920, 1080, true);
    withPanel.WorkArea = {0, 0, 1920, 1040};
    display_->SetMonitors({withPanel, platform::FakeMonitor(1920, 0, 3840, 1080)});
    struct Case {
        app::TFormBounds Saved, Expected;
    } cases[] = {
        {{100, 1800, 300, 400}, {100, 1520, 300, 400}},   // on the first monitor, past its right edge
        {{900, 100, 300, 400}, {740, 100, 300, 400}},     // past the work area's bottom
        {{-50, -20, -1, -2}, {0, 0, 0, 0}},
        {{100, 3700, 300, 400}, {100, 3440, 300, 400}},   // the second monitor
    };
    for (const auto& c : cases) {
        app::WriteFormBounds("capture_settings", c.Saved);
        app::TFormBounds read;
        ASSERT_TRUE(app::ReadFormBounds("capture_settings", read));
        EXPECT_EQ(read.Top, c.Expected.Top);
        EXPECT_EQ(read.Left, c.Expected.Left);
        EXPECT_EQ(read.Height, c.Expected.Height);
        EXPECT_EQ(read.Width, c.Expected.Width);
    }
}

TEST_F(RegistryStoreTest, MissingHeightKeepsTheDefaultPlacement) {
    platform::TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(app::InstanceRegKey(), true));
    reg.WriteInteger("PosTop_html_code", 11);
    reg.WriteInteger("PosLeft_html_code", 22);
    reg.WriteInteger("DimWidth_html_code", 33);
    app::TFormBounds bounds{-1, -1, -1, -1};
    EXPECT_FALSE(app::ReadFormBounds("html_code", bounds));
    EXPECT_EQ(bounds.Top, 11);
    EXPECT_EQ(bounds.Left, 22);
    EXPECT_EQ(bounds.Width, 33);
    EXPECT_EQ(bounds.Height, -1);
}

TEST(VersionInfo, OnlyTheRunningProgramHasAVersionBlock) {
    app::TMyFileInfo info;
    info.Comments = "untouched";
    EXPECT_FALSE(app::ReadVersionInfo("/bin/sh", info));
    EXPECT_FALSE(app::ReadVersionInfo("", info));
    EXPECT_EQ(info.Comments, "untouched");
    ASSERT_TRUE(app::ReadVersionInfo(engine::ProgramFilePath(), info));
    EXPECT_EQ(info.FileVersion, "9.0.2.1025");
    EXPECT_EQ(info.ProductName, "Framewick");
    EXPECT_EQ(info.CompanyName, "Quillmar");
    EXPECT_EQ(app::GetMajorVersion(), "9");
    EXPECT_EQ(app::MajorVersionOf("9.0.2.1025"), "9");
    EXPECT_EQ(app::MajorVersionOf("9"), "");
}

TEST_F(RegistryStoreTest, LibVlcPreferencesLiveUnderTheProgramAndInstanceKeys) {
    const engine::TVlcPreferences preferences = app::RegistryVlcPreferences();
    EXPECT_TRUE(preferences.ClearPluginCache());  // VlcIni defaults to 1
    app::RegWriteInstInteger("VlcIni", 0);
    EXPECT_FALSE(preferences.ClearPluginCache());
    preferences.StorePreferredVersion("3.0");
    EXPECT_EQ(app::RegReadExeString("VlcVer", ""), "3.0");
}

}  // namespace
