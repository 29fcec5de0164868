// Framewick itself as a second process on a desktop of the test's own, its settings road taken by the
// pointer (settings_road.h). "prevent Screensaver (KSA)" keeps the desktop's screen saver away for as
// long as it is set, with no capture running; switched through the settings dialog, the hold goes or
// comes while the program runs on, and framewick.ini keeps the new setting.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <memory>

#include "tests/app/program/framewick_child.h"
#include "tests/app/program/settings_road.h"
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

std::string Desktop() { return ::getenv("DISPLAY"); }

class SettingsRoadProgramTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        places = std::make_unique<fw_test::TSettingsRoadPlaces>(fw_test::OwnSettingsRoadPlaces(fw_test::ScratchRoot() / "own"));
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
    static inline std::unique_ptr<fw_test::TSettingsRoadPlaces> places;
};

// Set at the start, the hold is there with no capture running and goes when the box is cleared; clear
// at the start, there is none until the box is ticked.
TEST_F(SettingsRoadProgramTest, KeepAwakeHoldsTheScreenWhileSetAndFollowsTheSettingsDialog) {
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

}  // namespace
