#include <gtest/gtest.h>

#include <filesystem>

#include "app/mainform/LibVlcCheck.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "engine/util/vlc_version.h"
#include "engine/vlc/VlcLib.h"
#include "platform/process/FakeProcessStarter.h"
#include "tests/app/mainform/main_form_fixture.h"
#include "tests/support/test_env.h"

namespace fs = std::filesystem;

namespace {

class LibVlcCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine::VlcMissing = false;
        engine::UpdateSettings([](engine::TSettings& s) {
            s.VlcVer = engine::kDefaultVlcVer;
            s.AskForDownload = true;
        });
    }
    void TearDown() override { engine::UnloadVlcLibraries(); }

    app::TLibVlcCheck MakeCheck(bool withInstalledVlc, const std::string& installer = "") {
        app::TLibVlcCheckServices services;
        if (!withInstalledVlc) services.FindInstalledVlc = [] { return std::optional<engine::TInstalledVlc>(); };
        services.Dialogs = &dialogs;
        services.Starter = &starter;
        services.InstallerPath = installer;
        services.CloseSplash = [this] { ++splashClosed; };
        return app::TLibVlcCheck((dir / "LIB_VLC").string(), services);
    }

    fw_test::TempDir dir;
    fw_test::TFakeMainFormDialogs dialogs;
    platform::TFakeProcessStarter starter;
    int splashClosed = 0;
};

TEST_F(LibVlcCheckTest, CopiesTheInstalledLibVlcIntoAnEmptyLibraryFolder) {
    if (!engine::FindInstalledVlc()) GTEST_SKIP() << "no libVLC installed";
    fs::create_directories(dir / "LIB_VLC");

    EXPECT_EQ(MakeCheck(true).Run(), app::TLibVlcCheckResult::Ready);

    EXPECT_TRUE(fs::is_regular_file(dir / "LIB_VLC" / engine::kVlcLibraryFile));
    EXPECT_TRUE(fs::is_regular_file(dir / "LIB_VLC" / engine::kVlcCoreLibraryFile));
    EXPECT_TRUE(fs::is_directory(dir / "LIB_VLC" / "plugins"));
    EXPECT_TRUE(engine::VlcFunctionsLoaded());
    EXPECT_EQ(engine::GetVlcLibPath(), (dir / "LIB_VLC").string() + "/");  // loaded from the copy
    EXPECT_FALSE(engine::VlcMissing);
    EXPECT_TRUE(dialogs.Shown.empty());
    EXPECT_EQ(splashClosed, 1);

    // The next start finds the copy and uses it without copying again.
    engine::UnloadVlcLibraries();
    EXPECT_EQ(MakeCheck(false).Run(), app::TLibVlcCheckResult::Ready);
    EXPECT_TRUE(dialogs.Shown.empty());
}

TEST_F(LibVlcCheckTest, AnotherVersionInTheFolderIsAskedAboutAndAdoptedOnContinue) {
    if (!engine::FindInstalledVlc()) GTEST_SKIP() << "no libVLC installed";
    ASSERT_EQ(MakeCheck(true).Run(), app::TLibVlcCheckResult::Ready);
    engine::UnloadVlcLibraries();
    engine::UpdateSettings([](engine::TSettings& s) { s.VlcVer = "2.1.5"; });
    dialogs.Answer = 1;  // Continue

    EXPECT_EQ(MakeCheck(false).Run(), app::TLibVlcCheckResult::Ready);
    ASSERT_EQ(dialogs.Shown.size(), 1u);
    EXPECT_EQ(dialogs.Shown[0].Text.rfind("The current VLC Version 3.0", 0), 0u) << dialogs.Shown[0].Text;
    EXPECT_NE(dialogs.Shown[0].Text.find(" is different from preferred Version 2.1.5"), std::string::npos);
    EXPECT_TRUE(engine::VlcVersionMatches(engine::Settings()->VlcVer, "3.0"));
}

TEST_F(LibVlcCheckTest, DeclinedDownloadRunsWithoutLibVlcAndIsNeverOfferedAgain) {
    EXPECT_EQ(MakeCheck(false).Run(), app::TLibVlcCheckResult::Missing);
    EXPECT_TRUE(engine::VlcMissing);
    EXPECT_FALSE(engine::Settings()->AskForDownload);
    ASSERT_EQ(dialogs.Shown.size(), 1u);
    EXPECT_EQ(dialogs.Shown[0].Text, app::kDownloadOfferText);

    engine::VlcMissing = false;
    EXPECT_EQ(MakeCheck(false).Run(), app::TLibVlcCheckResult::Missing);
    EXPECT_EQ(dialogs.Shown.size(), 1u);
    EXPECT_TRUE(starter.Starts().empty());
}

TEST_F(LibVlcCheckTest, AcceptedDownloadStartsTheInstallerWithVersionAndFolderAndEnds) {
    fw_test::WriteFile(dir / "Hollarin", "#!/bin/sh\n");
    dialogs.Answer = 1;  // Yes

    EXPECT_EQ(MakeCheck(false, (dir / "Hollarin").string()).Run(), app::TLibVlcCheckResult::EndProgram);
    ASSERT_EQ(starter.Starts().size(), 1u);
    EXPECT_EQ(starter.Starts()[0].Program, (dir / "Hollarin").string());
    EXPECT_EQ(starter.Starts()[0].Arguments,
              (std::vector<std::string>{"-vv", "3.0", "-dd", (dir / "LIB_VLC").string() + "/"}));
    EXPECT_EQ(splashClosed, 1);
}

TEST_F(LibVlcCheckTest, AcceptedDownloadWithoutInstallerSaysSoAndEnds) {
    dialogs.Answer = 1;
    EXPECT_EQ(MakeCheck(false, (dir / "missing").string()).Run(), app::TLibVlcCheckResult::EndProgram);
    ASSERT_EQ(dialogs.Shown.size(), 2u);
    EXPECT_EQ(dialogs.Shown[1].Caption, app::kInstallerMissingCaption);
    EXPECT_EQ(dialogs.Shown[1].Text, app::kInstallerMissingText);
    EXPECT_TRUE(starter.Starts().empty());
}

}  // namespace
