#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "app/settings/app_paths.h"
#include "app/settings/registry_store.h"
#include "app/startup/ProgramBlock.h"
#include "app/startup/ScreenCheck.h"
#include "app/startup/StartUpCode.h"
#include "tests/app/startup/fake_startup_ui.h"
#include "tests/support/test_env.h"

namespace fs = std::filesystem;

namespace {

TEST(StartUpCodeTest, PathsAreSetAndTheirFoldersMade) {
    fw_test::TempDir dir;
    std::vector<std::string> failures;
    const app::TAppPaths paths = app::SetUpPathsAndFolders((dir / "data").string(), (dir / "prog").string(),
                                                           (dir / "install").string(), &failures);
    EXPECT_TRUE(failures.empty());
    EXPECT_EQ(app::AppPaths()->IniFileName, (dir / "data" / "framewick.ini").string());
    EXPECT_EQ(app::AppPaths()->SplashIniFile, (dir / "data" / "splash.ini").string());
    EXPECT_EQ(paths.LibVlcDir, (dir / "prog" / "LIB_VLC").string() + "/");
    for (const char* sub : {"Log", "HTML", "Archive"}) EXPECT_TRUE(fs::is_directory(dir / "data" / sub)) << sub;
    EXPECT_TRUE(fs::is_directory(dir / "prog" / "LIB_VLC"));
    EXPECT_FALSE(fs::exists(dir / "install")) << "the install folder is only read";
}

// Seeded from the clock: not the sequence of an unseeded generator, and another one a moment later.
TEST(StartUpCodeTest, RandomNumbersAreSeededFromTheClock) {
    const auto firstThree = [] { return std::vector<int>{std::rand(), std::rand(), std::rand()}; };
    std::srand(1);  // the sequence without any seeding
    const std::vector<int> unseeded = firstThree();
    app::SeedRandomFromClock();
    const std::vector<int> seeded = firstThree();
    std::this_thread::sleep_for(std::chrono::microseconds(10));
    app::SeedRandomFromClock();
    EXPECT_NE(seeded, unseeded);
    EXPECT_NE(firstThree(), seeded);
}

TEST(StartUpCodeTest, FolderThatCannotBeMadeIsReportedAndTheRestGoesOn) {
    fw_test::TempDir dir;
    fw_test::WriteFile(dir / "prog", "a file where the program folder's library folder should go");
    std::vector<std::string> failures;
    app::SetUpPathsAndFolders((dir / "data").string(), (dir / "prog").string(), "", &failures);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("LIB_VLC"), std::string::npos) << failures[0];
    EXPECT_TRUE(fs::is_directory(dir / "data" / "Archive"));
}

TEST(ScreenCheckTest, ResolutionWarning) {
    struct Case {
        const char* name;
        int dpi;
        bool suppressed;  // "do not show again" ticked earlier
        int answer;
        bool tick;
        bool expectDialog;
        bool expectResult;
        bool expectSuppressedAfter;
    };
    const Case cases[] = {
        {"96 dpi asks nothing", 96, false, app::kDialogSecondButton, false, false, true, false},
        {"120 dpi, Continue", 120, false, app::kDialogFirstButton, false, true, true, false},
        {"120 dpi, Continue, never again", 120, false, app::kDialogFirstButton, true, true, true, true},
        {"120 dpi, Cancel ends", 120, false, app::kDialogSecondButton, false, true, false, false},
        {"Cancel still stores the box", 144, false, app::kDialogSecondButton, true, true, false, true},
        {"suppressed earlier", 120, true, app::kDialogSecondButton, false, false, true, true},
    };
    for (const Case& c : cases) {
        app::WriteDpiDialog(c.suppressed);
        TFakeStartupUi ui;
        ui.dpi = c.dpi;
        ui.dialogAnswer = c.answer;
        ui.tickCheckBox = c.tick;
        EXPECT_EQ(app::CheckScreen(ui), c.expectResult) << c.name;
        EXPECT_EQ(!ui.dialogs.empty(), c.expectDialog) << c.name;
        EXPECT_EQ(app::ReadDpiDialog(), c.expectSuppressedAfter) << c.name;
    }
    app::WriteDpiDialog(false);
}

TEST(ScreenCheckTest, WarningText) {
    const app::TCheckDialogRequest d = app::DpiWarningDialog(120);
    EXPECT_EQ(d.Caption, "Screen Resolution Check");
    EXPECT_EQ(d.Text,
              "The current screen resolution is : 120 dpi !\r\n\r\n"
              "Please configure the default screen resolution of your PC to 96 dpi (equal to 100%) \r\n"
              "in the Windows Control Panel in order to ensure the application gets displayed correctly.\r\n\r\n"
              "Afterwards please reboot your computer and start the application again\r\n\r\n");
    EXPECT_EQ(d.Button1, "    Continue    ");
    EXPECT_EQ(d.Button2, "    Cancel    ");
    EXPECT_EQ(d.CheckCaption, "do not show again");
}

class TFakeSingleInstance : public app::ISingleInstance {
public:
    explicit TFakeSingleInstance(bool first) : first_(first) {}
    bool CreateInstanceMutex() override {
        calls.push_back("mutex");
        return first_;
    }
    bool ShowPrevInstance() override {
        calls.push_back("show previous");
        return true;
    }
    bool ListenForSecondStarts(std::function<void()> showMainWindow) override {
        calls.push_back("listen");
        secondStart = std::move(showMainWindow);
        return true;
    }
    void CloseInstanceMutex() override { calls.push_back("close"); }
    std::string LastError() const override { return ""; }

    std::vector<std::string> calls;
    std::function<void()> secondStart;

private:
    bool first_;
};

TEST(ProgramBlockTest, FirstInstanceRunsEveryStepInOrder) {
    app::RegWriteInstBool("lumora", true);
    TFakeStartupUi ui;
    ui.exitCode = 5;
    TFakeSingleInstance instance(true);
    EXPECT_EQ(app::RunProgramBlock(ui, instance), 5);
    EXPECT_EQ(instance.calls, (std::vector<std::string>{"mutex", "listen", "close"}));
    EXPECT_EQ(ui.calls, (std::vector<std::string>{"splash", "title Framewick", "forms", "loop"}));
    EXPECT_FALSE(app::RegReadInstBool("lumora", true));
    instance.secondStart();
    EXPECT_EQ(ui.calls.back(), "show main window");
}

TEST(ProgramBlockTest, SecondStartShowsTheFirstAndMakesNoWindow) {
    app::RegWriteInstBool("lumora", true);
    TFakeStartupUi ui;
    TFakeSingleInstance instance(false);
    EXPECT_EQ(app::RunProgramBlock(ui, instance), 0);
    EXPECT_EQ(instance.calls, (std::vector<std::string>{"mutex", "show previous"}));
    EXPECT_TRUE(ui.calls.empty());
    EXPECT_TRUE(app::RegReadInstBool("lumora", false)) << "the running instance's flag is left alone";
}

TEST(ProgramBlockTest, CancelledScreenCheckEndsBeforeAnyWindow) {
    app::WriteDpiDialog(false);
    TFakeStartupUi ui;
    ui.dpi = 120;
    ui.dialogAnswer = app::kDialogSecondButton;
    TFakeSingleInstance instance(true);
    EXPECT_EQ(app::RunProgramBlock(ui, instance), 0);
    EXPECT_EQ(ui.calls, (std::vector<std::string>{"dialog"}));
    EXPECT_EQ(instance.calls, (std::vector<std::string>{"mutex", "close"}));
}

}  // namespace
