// Framewick itself as a second process on a desktop of the test's own, its settings dialog used by the
// pointer (settings_clicks.h). "prevent Screensaver (KSA)" keeps the desktop's screen saver away for as
// long as it is set, with no capture running; switched through the settings dialog, the hold goes or
// comes while the program runs on, and framewick.ini keeps the new setting. "Download VLC" starts the
// library installer from the install folder the registry names, else from the program's own folder,
// and says so when it is not there.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <memory>

#include "app/settings/data_folder.h"
#include "common/version_info.h"
#include "engine/util/vlc_version.h"
#include "platform/registry/registry.h"
#include "tests/app/program/framewick_child.h"
#include "tests/app/program/settings_clicks.h"
#include "tests/components/private_desktop.h"
#include "tests/platform/display/screen_saver_probe.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

::testing::Environment* const kDesktop = ::testing::AddGlobalTestEnvironment(new fw_test::PrivateDesktop);

constexpr auto kWindowWithin = 90s;  // from the program's start to its first window, under the sanitizers
constexpr auto kClickAnsweredWithin = 5s;
constexpr auto kClosingWithin = 30s;
constexpr auto kHeldFor = 6s;            // three of the saver's timeouts
constexpr auto kSaverComesWithin = 20s;  // two seconds of idle time, with room for a busy machine
constexpr const char* kInstallerMissingCaption = "Quillmar Ardenix";

std::string Desktop() { return ::getenv("DISPLAY"); }

class SettingsProgramTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        places = std::make_unique<fw_test::TSettingsPlaces>(fw_test::OwnSettingsPlaces(fw_test::ScratchRoot() / "own"));
    }
    static void TearDownTestSuite() { places.reset(); }

    // The program's settings and one capture service that nothing starts.
    void WriteConfiguration(const std::string& general) {
        fw_test::WriteFile(program / "framewick.ini", "[General]\nShowLog=0\nNotifyIcon=0\n" + general);
        fw_test::WriteFile(program / "capture.xml",
                           "<CAPTURE_LIST><CAPTURE_LIST_ENTRY><name>Idle</name><minimized>False</minimized>"
                           "<autostart>False</autostart><SCREENCAPTURE_PARAMS><capEncoder>2</capEncoder>"
                           "<capKind>5</capKind><capFilesDir>" + (root / "drop").string() +
                           "/</capFilesDir></SCREENCAPTURE_PARAMS><webSocketAct>False</webSocketAct>"
                           "<webSocketIdx>-1</webSocketIdx></CAPTURE_LIST_ENTRY></CAPTURE_LIST>");
    }
    // The program on the desktop, with a user registry of its own.
    std::unique_ptr<fw_test::ChildProcess> Start() {
        return program.Start({}, {"QT_QPA_PLATFORM=xcb", "DISPLAY=" + Desktop(),
                                  "FRAMEWICK_REGISTRY_HKCU=" + (root / "hkcu").string()});
    }
    // The settings dialog opened by the tool bar's Configuration button. The button is clicked again
    // until the dialog comes: the splash window may still lie over it.
    std::optional<xcb_window_t> OpenSettings(fw_test::ChildProcess& framewick) {
        const std::optional<xcb_window_t> main = fw_test::WaitForWindow(framewick, fw_test::kMainWindowCaption, kWindowWithin);
        if (!main) return std::nullopt;
        std::optional<xcb_window_t> settings;
        fw_test::WaitUntil([&] {
            if (!fw_test::ClickAt(*main, places->ConfigurationButton)) return !framewick.running();
            settings = fw_test::WaitForWindow(framewick, fw_test::kSettingsCaption, kClickAnsweredWithin);
            return settings.has_value() || !framewick.running();
        }, kWindowWithin);
        if (settings) {
            EXPECT_EQ(fw_test::WindowSize(*settings), places->Settings) << "the dialog is not laid out as the test's own";
        }
        return settings;
    }
    void End(std::unique_ptr<fw_test::ChildProcess> framewick) {
        ::kill(framewick->pid(), SIGTERM);
        EXPECT_EQ(framewick->WaitForExit(kClosingWithin), 0) << "the program did not end after the session's end";
    }
    // Whether the saver stays away for three of its timeouts from now (held) or comes (not held).
    static bool SaverHeldOff() {
        EXPECT_TRUE(fw_test::ResetSaver(Desktop()));
        return !fw_test::WaitUntil([] { return fw_test::SaverOn(Desktop()); }, kHeldFor) &&
               !fw_test::WaitUntil([] { return fw_test::SaverOn(Desktop()); }, kSaverComesWithin - kHeldFor);
    }

    fw_test::TempDir root;
    fw_test::FramewickFolder program{FW_FRAMEWICK, root / "prog"};
    static inline std::unique_ptr<fw_test::TSettingsPlaces> places;
};

// Set at the start, the hold is there with no capture running and goes when the box is cleared; clear
// at the start, there is none until the box is ticked.
TEST_F(SettingsProgramTest, KeepAwakeHoldsTheScreenWhileSetAndFollowsTheSettingsDialog) {
    ASSERT_TRUE(program.ok());
    ASSERT_TRUE(fw_test::SetShortSaver(Desktop()));
    for (const bool setAtStart : {true, false}) {
        SCOPED_TRACE(setAtStart ? "set at the start" : "clear at the start");
        WriteConfiguration(std::string("DeactScreenSaver=") + (setAtStart ? "1" : "0") + "\n");
        auto framewick = Start();
        ASSERT_TRUE(fw_test::WaitForWindow(*framewick, fw_test::kMainWindowCaption, kWindowWithin)) << "the program never showed";
        EXPECT_EQ(SaverHeldOff(), setAtStart) << "the screen saver with no capture running";

        const std::optional<xcb_window_t> settings = OpenSettings(*framewick);
        ASSERT_TRUE(settings) << "the settings dialog never opened";
        ASSERT_TRUE(fw_test::ClickAt(*settings, places->KeepAwakeBox));
        ASSERT_TRUE(fw_test::ClickAt(*settings, places->OkButton));
        ASSERT_TRUE(fw_test::WaitUntil([&] { return !fw_test::WindowCalled(fw_test::kSettingsCaption); }, kWindowWithin))
            << "the settings dialog did not close on OK";
        const std::string switched = std::string("DeactScreenSaver=") + (setAtStart ? "0" : "1");
        EXPECT_TRUE(fw_test::WaitUntil([&] { return fw_test::ReadFile(program / "framewick.ini").find(switched) != std::string::npos; },
                                       kWindowWithin))
            << "OK did not save the switched setting";
        EXPECT_EQ(SaverHeldOff(), !setAtStart) << "the screen saver after the setting was switched";
        End(std::move(framewick));
    }
}

// The install folder the installation stores (HKEY_LOCAL_MACHINE, the key of the major version, which
// the program and this test are built with), or none.
void StoreInstallRoot(const std::optional<fs::path>& folder) {
    const std::string major = app::GetMajorVersion();
    ASSERT_FALSE(major.empty());
    const std::string key = "SOFTWARE\\Quillmar\\Framewick\\v" + major + "\\" + app::kInstallEditionKey;
    platform::TRegistry machine(platform::RootKey::LocalMachine);
    ASSERT_TRUE(machine.OpenKey(key, true));
    if (folder) {
        ASSERT_TRUE(machine.WriteString("Root", folder->string() + "/"));
    } else {
        machine.DeleteValue("Root");
    }
}

// A stand-in for the library installer: it writes down its arguments, one a line.
void PlaceInstaller(const fs::path& folder, const fs::path& arguments) {
    fs::create_directories(folder);
    fw_test::WriteFile(folder / "Hollarin", "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + arguments.string() + ".new'\nmv '" +
                                                arguments.string() + ".new' '" + arguments.string() + "'\n");
    fs::permissions(folder / "Hollarin", fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
}

TEST_F(SettingsProgramTest, DownloadStartsTheInstallerFromTheInstallFolder) {
    ASSERT_TRUE(program.ok());
    const fs::path installed = root / "installed";
    const fs::path arguments = root / "installer-arguments";
    const std::string libraryFolder = (program / "LIB_VLC").string() + "/";
    const struct {
        const char* what;
        bool rootStored;
        bool installerInRoot;  // else beside the program
        bool started;
    } cases[] = {
        {"Root stored, the installer there", true, true, true},
        {"no Root, the installer beside the program", false, false, true},
        {"Root stored, the installer only beside the program", true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(installed / "Hollarin");
        fs::remove(program / "Hollarin");
        fs::remove(arguments);
        StoreInstallRoot(c.rootStored ? std::optional<fs::path>(installed) : std::nullopt);
        PlaceInstaller(c.installerInRoot ? installed : program.path(), arguments);
        WriteConfiguration("");
        auto framewick = Start();
        const std::optional<xcb_window_t> settings = OpenSettings(*framewick);
        ASSERT_TRUE(settings) << "the settings dialog never opened";
        ASSERT_TRUE(fw_test::ClickAt(*settings, places->DownloadButton));
        const std::optional<xcb_window_t> question = fw_test::WaitForWindow(*framewick, fw_test::kQuestionCaption, kWindowWithin);
        ASSERT_TRUE(question) << "Download VLC asked nothing";
        EXPECT_EQ(fw_test::WindowSize(*question), places->DownloadQuestion) << "the question is not the test's own";
        ASSERT_TRUE(fw_test::ClickAt(*question, places->DownloadQuestionYes));
        if (c.started) {
            EXPECT_TRUE(fw_test::WaitUntil([&] { return fs::exists(arguments); }, kWindowWithin)) << "the installer never ran";
            EXPECT_EQ(fw_test::ReadFile(arguments), "-vv\n" + std::string(engine::kRequiredVlcVersion) + "\n-dd\n" + libraryFolder + "\n");
            EXPECT_TRUE(framewick->WaitForExit(kClosingWithin).has_value()) << "the program went on after starting the installer";
        } else {
            EXPECT_TRUE(fw_test::WaitForWindow(*framewick, kInstallerMissingCaption, kWindowWithin))
                << "no word of the missing installer";
            EXPECT_FALSE(fs::exists(arguments)) << "the installer beside the program was started";
            framewick->Kill();
        }
    }
    StoreInstallRoot(std::nullopt);
}

}  // namespace
