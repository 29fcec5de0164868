// The main window on the X display of the test run, with a capture service of the graph method that
// grabs the screen: its compact mode, the capture's internal port when other programs hold it, and a
// capture graph that cannot be built. The test program runs in a network of its own, so the ports the
// captures take are held by nobody but the test.
#include <gtest/gtest.h>

#include <new>

#include "app/mainform/MainForm.h"
#include "app/parts/MainWindowParts.h"
#include "app/settings/registry_store.h"
#include "app/windows/capture_panel/CaptureFrame.h"
#include "app/windows/log_windows/MainLog_Form.h"
#include "components/LedLabel.h"
#include "engine/graphs/GraphBuildBox.h"
#include "engine/settings/counters.h"
#include "platform/com/com.h"
#include "platform/filters/ScreenCaptureData.h"
#include "tests/app/mainform/framewick_test_app.h"
#include "tests/app/mainform/main_form_fixture.h"
#include "tests/support/foreign_listener.h"
#include "tests/support/own_network.h"
#include "tests/support/test_env.h"

namespace {

using namespace std::chrono_literals;

[[maybe_unused]] const bool kOwnNetwork = fw_test::AskForOwnNetwork();

constexpr auto kLoggedWithin = 5s;      // the log queue is drained once a second

// Holders of count consecutive ports from a block of the counter's range that nobody uses now (the
// captures of this program's earlier tests took the counter's first ones); none when no such block is found.
std::vector<std::unique_ptr<fw_test::TForeignListener>> HoldConsecutivePorts(int count) {
    constexpr int kFirstBlock = 50000, kLastBlock = 65000, kBlockStep = 100;
    std::vector<std::unique_ptr<fw_test::TForeignListener>> held;
    for (int base = kFirstBlock; base + count <= kLastBlock; base += kBlockStep) {
        held.clear();
        for (int port = base; port < base + count; ++port) {
            held.push_back(std::make_unique<fw_test::TForeignListener>(port));
            if (!held.back()->Listening()) break;
        }
        if (held.back()->Listening()) return held;
    }
    held.clear();
    return held;
}

class MainFormDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw_test::PrepareMainFormFolder(dir.path(), FW_BIN_DIR);
        fw_test::WriteHttpServerList(dir / "httpserv.xml", fw_test::FreeTcpPort(), dir / "www");
        fw_test::WriteAreaCaptureList(dir / "capture.xml", 320, 240, "area");
    }

    // A started main window, with the real windows when asked; beforeStart runs once the capture
    // service is loaded, before the one-shot start.
    std::unique_ptr<app::TLumora_MainForm> Start(
        bool withWindows = false, const std::function<void(engine::TScreenCapture&)>& beforeStart = {}) {
        app::TLumora_MainForm::TOptions options;
        if (withWindows) options.Parts = windows.Parts();
        options.Dialogs = dialogs;
        options.EndProcess = [this](int code) { exitCodes.push_back(code); };
        auto form = std::make_unique<app::TLumora_MainForm>(std::move(options));
        if (withWindows) windows.Attach(*form);
        EXPECT_TRUE(form->FormCreate());
        form->show();
        if (beforeStart) {
            EXPECT_TRUE(fw_test::PumpUntil([&] { return form->CaptureList().Count() == 1; }, 20s));
            if (form->CaptureList().Count() == 1) beforeStart(*form->CaptureList().Items()[0]->Capture);
        }
        EXPECT_TRUE(fw_test::PumpUntil([&] { return form->StartUpDone(); }, 20s)) << "the one-shot never ran";
        return form;
    }

    // The program's log: the log window's with the real windows, else the main window's own.
    static bool LogWindowShows(const app::TMainLog& log, const std::string& part) {
        for (const app::TLogWindowLine& line : log.Lines().Lines())
            if (line.Text.find(part) != std::string::npos) return true;
        return false;
    }
    static std::string LogWindowText(const app::TMainLog& log) {
        std::string text;
        for (const app::TLogWindowLine& line : log.Lines().Lines()) text += line.Text + "\n";
        return text;
    }

    fw_test::TempDir dir;
    std::shared_ptr<fw_test::TFakeMainFormDialogs> dialogs = std::make_shared<fw_test::TFakeMainFormDialogs>();
    std::vector<int> exitCodes;
    app::TMainWindowParts windows;  // outlives the forms
};

// The graph start waits with the message loop turning, so the compact-mode one-shot fires inside it;
// the compact mode saved at the last closing comes back all the same.
TEST_F(MainFormDisplayTest, CompactModeSavedAtClosingComesBackWithAnAutoStartedAreaCapture) {
    {
        auto first = Start();
        EXPECT_TRUE(first->Captures().AnyRunning()) << "the area capture did not start";
        first->SetCompactMode(false);
        ASSERT_TRUE(first->Compact());
        first->close();
    }
    EXPECT_TRUE(app::RegReadInstBool("lumora_min", false));

    auto second = Start();
    EXPECT_TRUE(second->Captures().AnyRunning()) << "the area capture did not start";
    EXPECT_TRUE(fw_test::PumpUntil([&] { return second->Compact(); }, 5s)) << "the compact mode did not come back";
    second->close();
    EXPECT_TRUE(exitCodes.empty());
}

// Another program holds the capture's port: the sink's refusal and the port the capture took instead
// reach the log window, and the capture runs.
TEST_F(MainFormDisplayTest, TakenInternalPortIsLoggedAndTheCaptureRunsOnTheNextOne) {
    fw_test::TForeignListener stranger(fw_test::FreeTcpPort());
    ASSERT_TRUE(stranger.Listening());
    auto form = Start(false, [&](engine::TScreenCapture& c) { c.InternalPort = stranger.Port(); });
    ASSERT_EQ(form->CaptureList().Count(), 1u);
    EXPECT_TRUE(form->Captures().AnyRunning()) << LogWindowText(form->MainLog());
    const int32_t taken = form->CaptureList().Items()[0]->Capture->InternalPort;
    EXPECT_NE(taken, stranger.Port());
    const std::string refused = std::to_string(stranger.Port());
    EXPECT_TRUE(fw_test::PumpUntil(
        [&] {
            return LogWindowShows(form->MainLog(),
                                  "[err] [Orbelle32] TCP server cannot listen on 127.0.0.1:" + refused + ":");
        },
        kLoggedWithin))
        << LogWindowText(form->MainLog());
    EXPECT_TRUE(fw_test::PumpUntil(
        [&] {
            // The counter may hand out a port that an earlier capture of this program still holds:
            // the capture then moves on more than once.
            return LogWindowShows(form->MainLog(), "[inf] [idx: ") &&
                   LogWindowShows(form->MainLog(), "internal port " + refused + " cannot be had - the capture takes port ") &&
                   LogWindowShows(form->MainLog(), " cannot be had - the capture takes port " + std::to_string(taken));
        },
        kLoggedWithin))
        << LogWindowText(form->MainLog());
    // The filters' lines of their normal work come as information.
    EXPECT_TRUE(LogWindowShows(form->MainLog(), "[inf] [Screen Capture] area ")) << LogWindowText(form->MainLog());
    form->close();
}

// Every port a start may try is held by others (its own, then what the port counter hands out): the
// start fails with the panel's error light and an error line in the log window and the daily log file.
TEST_F(MainFormDisplayTest, EveryPortTakenFailsTheStartWithTheErrorLightAndALogLine) {
    fw_test::TForeignListener own(fw_test::FreeTcpPort());
    ASSERT_TRUE(own.Listening());
    const auto next = HoldConsecutivePorts(engine::kMaxInternalPortAttempts - 1);
    ASSERT_FALSE(next.empty()) << "no block of free ports";
    // The counter hands out the held block next.
    auto form = Start(true, [&](engine::TScreenCapture& c) {
        c.InternalPort = own.Port();
        while (engine::NextInternalPort() != next.front()->Port() - 1) {
        }
    });
    const app::TMainLog& log = windows.LogWindow().Log();
    EXPECT_FALSE(form->Captures().AnyRunning());
    ASSERT_EQ(form->CaptureList().Count(), 1u);
    const app::TCaptureListEntry& entry = *form->CaptureList().Items()[0];
    auto* panel = dynamic_cast<app::TCapture_Frame*>(form->findChild<QWidget*>(QString("CaptureFrame_%1").arg(entry.Idx)));
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->Controls().Error_Led->LedOn());
    const std::string line = "[idx: " + std::to_string(entry.Idx) + "] no internal port can be had (" +
                             std::to_string(next.size() + 1) + " ports tried, the last " +
                             std::to_string(next.back()->Port()) +
                             ") - capture not started";
    EXPECT_TRUE(fw_test::PumpUntil([&] { return LogWindowShows(log, "[err] " + line); }, kLoggedWithin))
        << LogWindowText(log);
    EXPECT_NE(fw_test::ReadFile(log.LogFileName()).find(line), std::string::npos)
        << log.LogFileName() << ":\n" << fw_test::ReadFile(log.LogFileName());
    form->close();
    EXPECT_TRUE(exitCodes.empty());
}

// The screen-capture filter cannot be made when the capture starts: its factory fails, throws a
// standard exception or throws anything else. The capture graph's build fails and says so in the main
// window's message box: the failed build's text, or the raised build's for whatever was thrown.
TEST_F(MainFormDisplayTest, CaptureGraphThatCannotBeBuiltShowsTheGraphsErrorBox) {
    struct TNotAStandardException {};
    const struct {
        const char* what;
        BuiltinFactoryFn factory;
        const char* text;
    } cases[] = {
        {"the factory fails",
         [](IUnknown*, REFIID, void** ppv) -> HRESULT {
             *ppv = nullptr;
             return E_OUTOFMEMORY;
         },
         engine::kGraphBuildFailedText},
        {"the factory throws a standard exception",
         [](IUnknown*, REFIID, void**) -> HRESULT { throw std::bad_alloc(); }, engine::kGraphBuildRaisedText},
        {"the factory throws something else",
         [](IUnknown*, REFIID, void**) -> HRESULT { throw TNotAStandardException(); }, engine::kGraphBuildRaisedText},
    };
    for (const auto& c : cases) {
        dialogs->Shown.clear();
        auto form = Start(false, [&](engine::TScreenCapture&) { CoRegisterBuiltinClass(CLSID_ScreenCaptureFilter, c.factory); });
        CoRevokeBuiltinClass(CLSID_ScreenCaptureFilter);
        EXPECT_FALSE(form->Captures().AnyRunning()) << c.what;
        ASSERT_EQ(dialogs->Shown.size(), 1u) << c.what;
        EXPECT_EQ(dialogs->Shown[0].Caption, engine::kGraphBuildBoxCaption) << c.what;
        EXPECT_EQ(dialogs->Shown[0].Text, c.text) << c.what;
        EXPECT_TRUE(fw_test::PumpUntil(
            [&] { return LogWindowShows(form->MainLog(), "the capture graph could not be built"); }, kLoggedWithin))
            << c.what << ":\n" << LogWindowText(form->MainLog());
        form->close();
    }
}

}  // namespace
