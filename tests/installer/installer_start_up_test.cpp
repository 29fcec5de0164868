// Hollarin's entry: the command line, one installer at a time (also the real program against a running
// one) and the screen-resolution warning with its "do not show again" value.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <thread>

#include "common/SingleInstance.h"
#include "installer/InstallerRegistry.h"
#include "installer/InstallerStartUp.h"
#include "platform/registry/registry.h"
#include "tests/installer/installer_test_support.h"
#include "tests/support/test_env.h"

namespace {

using namespace hollarin;

TEST(CommandLine, TableOfArgumentLists) {
    struct Case {
        std::vector<std::string> Arguments;
        std::string Version;
        std::string Folder;
    };
    const Case cases[] = {
        {{"-vv", "2.1.5", "-dd", "/opt/Prog/LIB_VLC/"}, "2.1.5", "/opt/Prog/LIB_VLC/"},
        {{"-dd", "/a b/c/", "-vv", "3.0"}, "3.0", "/a b/c/"},
        {{"-VV", "2.1.5"}, "", ""},  // switches are case-sensitive
        {{"-x", "2.1.5"}, "", ""},   // an unknown switch and the value after it
        {{"-vv", "-dd", "3.0"}, "3.0", "3.0"},
        {{"-vv", "1", "2"}, "1", ""},
        {{"-vv", "", "3.0"}, "", ""},           // an empty value disarms the switch
        {{"lonely", "-vv", "1", "-vv", "2"}, "2", ""},  // a repeated switch overwrites
        {{"-vv"}, "", ""},
        {{}, "", ""},
    };
    for (const Case& c : cases) {
        const TCommandLine line = ParseCommandLine(c.Arguments);
        std::string joined;
        for (const auto& a : c.Arguments) joined += "[" + a + "]";
        EXPECT_EQ(line.VlcVersionParam, c.Version) << joined;
        EXPECT_EQ(line.VlcDirParam, c.Folder) << joined;
    }
}

class TFakeStartUi : public IInstallerStartUi {
public:
    int dpi = kDesignDpi;
    int answer = app::kDialogFirstButton;
    bool tick = false;
    int dialogs = 0;
    std::string lastText;
    int formsCreated = 0;
    TCommandLine commandLine;
    std::function<void()> duringLoop;

    int ScreenLogicalDpi() override { return dpi; }
    int ShowCheckDialog(const app::TCheckDialogRequest& request, bool& checked) override {
        ++dialogs;
        lastText = request.Text;
        checked = tick;
        return answer;
    }
    void CreateForms(const TCommandLine& line) override {
        ++formsCreated;
        commandLine = line;
    }
    void ShowMainWindow() override {}
    void RunMessageLoop() override {
        if (duringLoop) duringLoop();
    }
};

TEST(InstallerStartUp, ASecondInstallerBringsTheFirstForwardAndEndsWithoutWindows) {
    installer_test::EnsureQtApplication();
    app::TSingleInstance first(kInstallerMutexName);
    ASSERT_TRUE(first.CreateInstanceMutex());
    int activations = 0;
    ASSERT_TRUE(first.ListenForSecondStarts([&] { ++activations; }));

    // The second start runs on another thread here only because both sides share this process.
    TFakeStartUi secondUi;
    app::TSingleInstance second(kInstallerMutexName);
    std::atomic<int> exitCode{-1};
    std::thread starter([&] { exitCode = RunInstaller({"-vv", "3.0"}, secondUi, second); });
    EXPECT_TRUE(installer_test::SpinUntil([&] { return activations == 1; }, std::chrono::seconds(10)));
    starter.join();
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(secondUi.formsCreated, 0);
    first.CloseInstanceMutex();
}

TEST(InstallerStartUp, TheProgramRefusesToRunBesideARunningInstaller) {
    installer_test::EnsureQtApplication();
    app::TSingleInstance first(kInstallerMutexName);
    ASSERT_TRUE(first.CreateInstanceMutex());
    int activations = 0;
    ASSERT_TRUE(first.ListenForSecondStarts([&] { ++activations; }));

    std::atomic<int> exitCode{-1};
    std::thread program([&] { exitCode = fw_test::RunProgram({HOLLARIN_PROGRAM, "-vv", "3.0"}, nullptr, std::chrono::seconds(30)); });
    EXPECT_TRUE(installer_test::SpinUntil([&] { return activations == 1; }, std::chrono::seconds(30)));
    program.join();
    EXPECT_EQ(exitCode, 0);
}

TEST(InstallerStartUp, FirstInstallerCreatesItsFormsWithTheCommandLineAndReleasesTheMutex) {
    TFakeStartUi ui;
    app::TSingleInstance instance(kInstallerMutexName);
    bool heldDuringLoop = false;
    ui.duringLoop = [&] { heldDuringLoop = !app::TSingleInstance(kInstallerMutexName).CreateInstanceMutex(); };
    EXPECT_EQ(RunInstaller({"-vv", "3.0", "-dd", "/x/LIB_VLC/"}, ui, instance), 0);
    EXPECT_EQ(ui.formsCreated, 1);
    EXPECT_EQ(ui.commandLine.VlcVersionParam, "3.0");
    EXPECT_EQ(ui.commandLine.VlcDirParam, "/x/LIB_VLC/");
    EXPECT_TRUE(heldDuringLoop);
    EXPECT_TRUE(app::TSingleInstance(kInstallerMutexName).CreateInstanceMutex()) << "released at the end";
}

TEST(InstallerStartUp, ScreenResolutionWarning) {
    ASSERT_FALSE(MonitorRegKey().empty());
    EXPECT_EQ(MonitorRegKey(), std::string(kMakerKeyPrefix) + GetMajorVersion() + "\\Monitor");

    // 96 dpi: no warning.
    {
        TFakeStartUi ui;
        app::TSingleInstance instance(kInstallerMutexName);
        EXPECT_EQ(RunInstaller({}, ui, instance), 0);
        EXPECT_EQ(ui.dialogs, 0);
        EXPECT_EQ(ui.formsCreated, 1);
    }
    // 120 dpi, Cancel with the box ticked: the program ends before any window.
    {
        TFakeStartUi ui;
        ui.dpi = 120;
        ui.answer = app::kDialogSecondButton;
        ui.tick = true;
        app::TSingleInstance instance(kInstallerMutexName);
        EXPECT_EQ(RunInstaller({}, ui, instance), 0);
        EXPECT_EQ(ui.dialogs, 1);
        EXPECT_EQ(ui.formsCreated, 0);
        EXPECT_EQ(ui.lastText.rfind("The current screen resolution is : 120 dpi !\r\n\r\n", 0), 0u) << ui.lastText;
        EXPECT_TRUE(ReadDpiDialog());
        EXPECT_TRUE(app::TSingleInstance(kInstallerMutexName).CreateInstanceMutex()) << "released after Cancel";
    }
    // The ticked box holds for the next start.
    {
        TFakeStartUi ui;
        ui.dpi = 120;
        app::TSingleInstance instance(kInstallerMutexName);
        EXPECT_EQ(RunInstaller({}, ui, instance), 0);
        EXPECT_EQ(ui.dialogs, 0);
        EXPECT_EQ(ui.formsCreated, 1);
    }
    // Continue without the box: the start goes on and the warning comes again next time.
    WriteDpiDialog(false);
    {
        TFakeStartUi ui;
        ui.dpi = 144;
        app::TSingleInstance instance(kInstallerMutexName);
        EXPECT_EQ(RunInstaller({}, ui, instance), 0);
        EXPECT_EQ(ui.dialogs, 1);
        EXPECT_EQ(ui.formsCreated, 1);
        EXPECT_FALSE(ReadDpiDialog());
    }
}

TEST(InstallerRegistry, MonitorStringsFallBackAndRoundTrip) {
    EXPECT_EQ(RegReadMonitorString(kSupportedVlcVerValue, kDefaultSupportedVlcVer), "2.0.6");
    RegWriteMonitorString(kZipFnValue, "/tmp/vlc.zip");
    EXPECT_EQ(RegReadMonitorString(kZipFnValue, ""), "/tmp/vlc.zip");
    platform::TRegistry framewick(platform::RootKey::CurrentUser);
    EXPECT_TRUE(framewick.KeyExists(MonitorRegKey()));
}

}  // namespace
