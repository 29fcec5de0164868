#include <gtest/gtest.h>

#include <QTimer>
#include <filesystem>
#include <stdexcept>

#include "app/mainform/MainForm.h"
#include "app/settings/app_paths.h"
#include "app/startup/ComServers.h"
#include "app/startup/StartUpCode.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "platform/display/xcb_keep_awake.h"
#include "platform/ui/message_target.h"
#include "tests/app/mainform/framewick_test_app.h"
#include "tests/app/mainform/main_form_fixture.h"
#include "tests/platform/display/screen_saver_probe.h"
#include "tests/support/test_env.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override { fw_test::PrepareMainFormFolder(dir.path(), FW_BIN_DIR); }

    std::unique_ptr<app::TLumora_MainForm> MakeForm() {
        app::TLumora_MainForm::TOptions options;
        options.Dialogs = dialogs;
        options.EndProcess = [this](int code) { exitCodes.push_back(code); };
        options.Closed = [this] { ++closedCalls; };
        return std::make_unique<app::TLumora_MainForm>(std::move(options));
    }
    // Starts the main window over one web server on port and one folder job, up to the end of its
    // one-shot start.
    void StartWithAFolderJob(std::unique_ptr<app::TLumora_MainForm>& form, int port = fw_test::FreeTcpPort()) {
        fw_test::WriteHttpServerList(dir / "httpserv.xml", port, dir / "www");
        fw_test::WriteFolderCaptureList(dir / "capture.xml", "Folder job", dir / "drop", "cam");
        form = MakeForm();
        ASSERT_TRUE(form->FormCreate());
        form->show();
        ASSERT_TRUE(fw_test::PumpUntil([&] { return form->StartUpDone(); }, 10s)) << "the one-shot never ran";
    }

    fw_test::TempDir dir;
    std::shared_ptr<fw_test::TFakeMainFormDialogs> dialogs = std::make_shared<fw_test::TFakeMainFormDialogs>();
    std::vector<int> exitCodes;
    int closedCalls = 0;
};

TEST_F(MainFormTest, StartsServerAndCaptureInTheOneShotServesAndClosesInOrder) {
    const int port = fw_test::FreeTcpPort();
    std::unique_ptr<app::TLumora_MainForm> form;
    ASSERT_NO_FATAL_FAILURE(StartWithAFolderJob(form, port));
    EXPECT_TRUE(exitCodes.empty());
    EXPECT_EQ(form->windowTitle().toStdString(), "Framewick");

    ASSERT_EQ(form->HttpServerList().Count(), 1u);
    const auto server = form->HttpServerList().Items()[0];
    EXPECT_TRUE(server->Server->Listening());
    ASSERT_EQ(form->CaptureList().Count(), 1u);
    app::TCaptureListEntry& entry = *form->CaptureList().Items()[0];
    const auto capture = entry.Capture;
    ASSERT_TRUE(capture);
    EXPECT_TRUE(capture->Started());
    const app::TCaptureService* service = form->Captures().ServiceOf(entry);
    ASSERT_NE(service, nullptr);
    EXPECT_TRUE(service->Running());
    ASSERT_EQ(capture->Streamers->Count(), 1u);
    EXPECT_EQ(capture->Streamers->Items()[0]->HttpServer.get(), server.get());  // bound to the listed server
    EXPECT_TRUE(form->PipeServerActive());
    EXPECT_TRUE(form->ArchiveThreadRunning());

    std::string body;
    EXPECT_EQ(fw_test::HttpGet(port, "/hello.txt", &body), 200);
    EXPECT_EQ(body, "hello from the root");
    {
        std::lock_guard lock(engine::GlobalLock());
        EXPECT_EQ(form->Captures().FindStreamerByPath("/cam/"), capture->Streamers->Items()[0].get());
        EXPECT_EQ(form->Captures().FindStreamerByPath("/elsewhere/"), nullptr);
    }

    // What the user changed reaches capture.xml when the window closes.
    entry.Name = "Renamed job";
    form->close();
    EXPECT_EQ(closedCalls, 1);
    EXPECT_TRUE(engine::AppClosing);
    EXPECT_EQ(form->CaptureList().Count(), 0u);
    EXPECT_EQ(form->HttpServerList().Count(), 0u);
    EXPECT_FALSE(form->PipeServerActive());
    EXPECT_EQ(fw_test::HttpGet(port, "/hello.txt"), 0) << "the web server still answers after closing";
    const std::string saved = fw_test::ReadFile(dir / "capture.xml");
    EXPECT_NE(saved.find("Renamed job"), std::string::npos);
    EXPECT_NE(saved.find("<strLocalDir>cam</strLocalDir>"), std::string::npos) << "the share was not saved";
    EXPECT_NE(fw_test::ReadFile(dir / "httpserv.xml").find("<port>" + std::to_string(port) + "</port>"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "framewick.ini"));
    EXPECT_TRUE(exitCodes.empty());
}

TEST_F(MainFormTest, NoCaptureServiceAndNoEditorEndsTheProgramWithoutSaving) {
    fw_test::WriteHttpServerList(dir / "httpserv.xml", fw_test::FreeTcpPort(), dir / "www");
    auto form = MakeForm();
    ASSERT_TRUE(form->FormCreate());
    form->show();
    ASSERT_TRUE(fw_test::PumpUntil([&] { return !exitCodes.empty(); }, 10s));
    EXPECT_EQ(exitCodes, std::vector<int>{app::kExitNoCapture});
    EXPECT_FALSE(form->StartUpDone());
}

TEST_F(MainFormTest, DeleteNoticeForAnEntryNoLongerListedChangesNothing) {
    std::unique_ptr<app::TLumora_MainForm> form;
    ASSERT_NO_FATAL_FAILURE(StartWithAFolderJob(form));
    app::TCaptureListEntry* listed = form->CaptureList().Items()[0].get();

    const int32_t strangerIdx = listed->Idx + 100;
    platform::PostMessage(form->WindowHandle(), engine::kWmCaptureNotify, engine::kCnDeleteCapture, strangerIdx);
    fw_test::PumpUntil([] { return false; }, 200ms);
    EXPECT_EQ(form->CaptureList().Count(), 1u);

    platform::PostMessage(form->WindowHandle(), engine::kWmCaptureNotify, engine::kCnDeleteCapture, listed->Idx);
    ASSERT_TRUE(fw_test::PumpUntil([&] { return form->CaptureList().Count() == 0; }, 5s));
    EXPECT_EQ(fw_test::ReadFile(dir / "capture.xml").find("CAPTURE_LIST_ENTRY"), std::string::npos);
    form->close();
}

// What escapes a handler ends in the application's notify: reported, and the loop goes on.
TEST(FramewickApplicationTest, EscapedExceptionsAreReportedAndTheLoopGoesOn) {
    std::vector<std::string> reported;
    fw_test::FramewickTestApp::App().SetErrorHandler([&](const std::string& message) {
        reported.push_back(message);
        return true;
    });
    bool ranAfter = false;
    QTimer::singleShot(0, [] { throw std::runtime_error("broken slot"); });
    QTimer::singleShot(0, [] { throw 42; });
    QTimer::singleShot(5, [&] { ranAfter = true; });
    EXPECT_TRUE(fw_test::PumpUntil([&] { return ranAfter; }, 5s));
    EXPECT_EQ(reported, (std::vector<std::string>{"broken slot", "unknown exception"}));
    fw_test::FramewickTestApp::App().SetErrorHandler({});
}

// A number in framewick.ini that the program cannot use reads its default and is logged as an error,
// so the line shows even with warnings switched off.
TEST_F(MainFormTest, AnUnusableIniNumberIsLoggedWithWarningsSwitchedOff) {
    fw_test::WriteFile(app::AppPaths()->IniFileName, "[General]\nLogWarning=0\n[Http]\nPort=0\n");
    std::unique_ptr<app::TLumora_MainForm> form;
    ASSERT_NO_FATAL_FAILURE(StartWithAFolderJob(form));
    EXPECT_FALSE(engine::Settings()->LogWarning);
    const auto logged = [&form] {
        for (const app::TLogWindowLine& line : form->MainLog().Lines().Lines())
            if (line.Text.find("[err] [framewick.ini] [Http] Port 0 is outside 1..65535, 80 is used") !=
                std::string::npos)
                return true;
        return false;
    };
    EXPECT_TRUE(fw_test::PumpUntil(logged, 5s));
    form->close();
}

// The main window's handler: "General error : " + the message in the log while the program runs; the
// process's end while it closes.
TEST_F(MainFormTest, ExceptionReachingTheLoopIsLoggedAndEndsAClosingProgram) {
    std::unique_ptr<app::TLumora_MainForm> form;
    ASSERT_NO_FATAL_FAILURE(StartWithAFolderJob(form));
    fw_test::FramewickTestApp::App().SetErrorHandler([&form](const std::string& message) {
        form->ApplicationEvents1Exception(message);
        return true;
    });
    const auto logged = [&form] {
        for (const app::TLogWindowLine& line : form->MainLog().Lines().Lines())
            if (line.Text.find("[err] General error : disk on fire") != std::string::npos) return true;
        return false;
    };
    QTimer::singleShot(0, [] { throw std::runtime_error("disk on fire"); });
    EXPECT_TRUE(fw_test::PumpUntil(logged, 5s));
    EXPECT_TRUE(exitCodes.empty());

    engine::AppClosing = true;  // as the closing has begun
    QTimer::singleShot(0, [] { throw std::runtime_error("half freed"); });
    EXPECT_TRUE(fw_test::PumpUntil([&] { return !exitCodes.empty(); }, 5s));
    EXPECT_EQ(exitCodes, std::vector<int>{app::kExitCloseFailed});
    fw_test::FramewickTestApp::App().SetErrorHandler({});
    engine::AppClosing = false;
    form->close();
}

// With DeactScreenSaver on, the screen saver of the display stays away (an Xvfb of the test's own whose
// saver starts after two seconds without input) whether or not a capture runs; with it off the saver
// comes. The closing lets go of the hold.
TEST_F(MainFormTest, TheSettingKeepsTheScreenSaverAwayWithOrWithoutACapture) {
    constexpr auto kHeldFor = 6s;
    constexpr auto kSaverComesWithin = 20s;
    const struct {
        const char* what;
        bool keepAwake;
        bool capturing;
    } cases[] = {
        {"setting on, capture running", true, true},
        {"setting on, no capture running", true, false},
        {"setting off, capture running", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fw_test::ShortSaverXServer x;
        ASSERT_TRUE(x.ready());
        fw_test::WriteFile(dir / "framewick.ini",
                           std::string("[General]\nDeactScreenSaver=") + (c.keepAwake ? "1" : "0") + "\n");
        fw_test::WriteHttpServerList(dir / "httpserv.xml", fw_test::FreeTcpPort(), dir / "www");
        fw_test::WriteFolderCaptureList(dir / "capture.xml", "Folder job", dir / "drop", "cam");
        app::TLumora_MainForm::TOptions options;
        options.Dialogs = dialogs;
        options.EndProcess = [this](int code) { exitCodes.push_back(code); };
        const std::string display = x.name();
        options.MakeKeepAwake = [display] { return std::make_unique<platform::TXcbKeepAwake>(display.c_str()); };
        auto form = std::make_unique<app::TLumora_MainForm>(std::move(options));
        ASSERT_TRUE(form->FormCreate());
        EXPECT_EQ(form->KsaTimerOn(), c.keepAwake);
        form->show();
        ASSERT_TRUE(fw_test::PumpUntil([&] { return form->StartUpDone() && form->Captures().AnyRunning(); }, 10s));
        if (!c.capturing) {
            form->StartStopAll(false);
            ASSERT_FALSE(form->Captures().AnyRunning());
        }
        EXPECT_EQ(form->KeepingAwake(), c.keepAwake);
        ASSERT_TRUE(x.ResetSaver());
        // Held: it stays away for three of its timeouts; not held: it comes, however busy the machine.
        const bool saverCame = fw_test::PumpUntil([&] { return x.SaverOn(); }, c.keepAwake ? kHeldFor : kSaverComesWithin);
        EXPECT_EQ(saverCame, !c.keepAwake);
        form->close();
        EXPECT_FALSE(form->KeepingAwake());
        if (c.keepAwake) {
            EXPECT_TRUE(fw_test::WaitUntil([&] { return x.SaverOn(); }, kSaverComesWithin)) << "the hold outlived the closing";
        }
    }
}

}  // namespace
