// The share status tab: FTP feedback through wmFtpNotify, the restart after slow uploads, and the web
// server's lamps.
#include <stdlib.h>

#include <cctype>
#include <filesystem>

#include "app/lists/http_server_entry.h"
#include "app/settings/app_globals.h"
#include "components/BevelLabel.h"
#include "components/LedLabel.h"
#include "engine/ftp/ftp_notify.h"
#include "engine/http/capture_http_server.h"
#include "tests/app/windows/capture_panel/capture_panel_fixture.h"
#include "tests/support/test_env.h"

namespace {

using namespace std::chrono_literals;

class ShareStatusTabTest : public fw_test::CapturePanelTest {
protected:
    void SetUp() override {
        CapturePanelTest::SetUp();
        MakeFolderPanel();
        panel->Connect_TBClick();
        tab = panel->FindStreamerFrame(httpShare->Index);
        ASSERT_NE(tab, nullptr);
        engine::LogList()->TakeAll();
    }
    // Posts as the mirror thread does and lets the tab handle it.
    void Notify(intptr_t wParam, intptr_t lParam) {
        platform::PostMessage(fw_test::RunOf(*job, httpShare).FrameHandle, engine::wmFtpNotify, wParam, lParam);
        fw_test::PumpEvents();
    }
    bool Logged(const std::string& text, uint8_t level) {
        for (const auto& e : engine::LogList()->TakeAll())
            if (e.Text == text && e.Level == level) return true;
        return false;
    }
    const app::TStreamer_Frame::TControls& ui() const { return tab->Controls(); }

    app::TStreamer_Frame* tab = nullptr;
};

TEST_F(ShareStatusTabTest, TransferProgressLightsTheDataLampAndClearsTheError) {
    ui().FtpErr_Led->SetLedOn(true);
    Notify(engine::cfWork, 1000);
    EXPECT_TRUE(ui().FtpData_Led->LedOn());
    EXPECT_FALSE(ui().FtpErr_Led->LedOn());
}

TEST_F(ShareStatusTabTest, ErrorShowsAndLogsOnlyWhileTheJobRuns) {
    Notify(engine::cfError, engine::cfErrUpload);
    EXPECT_TRUE(ui().FtpErr_Led->LedOn());
    EXPECT_TRUE(Logged("[IDX: 3] FtpErrorIdx: 5", engine::kLogError));

    panel->Disconn_TBClick();
    engine::LogList()->TakeAll();
    Notify(engine::cfError, engine::cfErrConnect);
    EXPECT_FALSE(ui().FtpErr_Led->LedOn());
    EXPECT_TRUE(engine::LogList()->TakeAll().empty());
}

TEST_F(ShareStatusTabTest, TransferBeginCountsFilesAndKilobytes) {
    struct Case {
        intptr_t bytes;
        const char* kiloBytes;
        const char* files;
    };
    const Case cases[] = {{0, "0", "0"}, {-5, "0", "0"}, {500, "1", "1"}, {2500, "2", "2"}, {1234567, "1,234", "3"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        Notify(engine::cfWorkBegin, c.bytes);
        EXPECT_EQ(ui().FtpLen_Label->Caption().toStdString(), c.kiloBytes);
        EXPECT_EQ(ui().FtpFiles_Label->Caption().toStdString(), c.files);
    }
    EXPECT_TRUE(Logged("[IDX: 3] upload: 1234567 bytes", engine::kLogInfo));
    EXPECT_FALSE(ui().LastUpload_Label->Caption().isEmpty());
}

// "last upload" is written in the long time format of the system's locale: a locale of the test's own
// (en_US, compiled from the system's locale sources) whose time reads "03:04:05 PM".
TEST_F(ShareStatusTabTest, LastUploadIsInTheLocalesLongTimeFormat) {
    fw_test::TempDir locales;
    ASSERT_EQ(fw_test::RunProgram({"localedef", "-i", "en_US", "-f", "UTF-8", (locales / "en_US.UTF-8").string()}), 0);
    const char* before = ::getenv("LC_ALL");
    const std::string saved = before ? before : "";
    ::setenv("LOCPATH", locales.path().c_str(), 1);
    ::setenv("LC_ALL", "en_US.UTF-8", 1);
    app::InitLocaleSettings();
    Notify(engine::cfWorkBegin, 4000);
    const std::string shown = ui().LastUpload_Label->Caption().toStdString();
    ::unsetenv("LOCPATH");
    if (before) ::setenv("LC_ALL", saved.c_str(), 1);
    else ::unsetenv("LC_ALL");
    app::InitLocaleSettings();
    // "hh:mm:ss" on a twelve-hour clock, then AM or PM.
    ASSERT_EQ(shown.size(), 11u) << shown;
    for (size_t i : {0u, 1u, 3u, 4u, 6u, 7u}) EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(shown[i]))) << shown;
    EXPECT_EQ(shown.substr(2, 1) + shown.substr(5, 1), "::") << shown;
    EXPECT_TRUE(shown.substr(8) == " AM" || shown.substr(8) == " PM") << shown;
    EXPECT_TRUE(shown.substr(0, 2) >= "01" && shown.substr(0, 2) <= "12") << shown;
}

TEST_F(ShareStatusTabTest, FastUploadIsGreenAndResetsTheSlowCount) {
    Notify(engine::cfUploadTime, 1500);
    EXPECT_EQ(ui().Upload_Label->Caption().toStdString(), "1.5 [2]");
    EXPECT_TRUE(ui().Upload_Led->LedOn());
    EXPECT_EQ(ui().Upload_Led->LedColor().llColor(), components::lcdGreen);
    EXPECT_EQ(tab->UploadErrors(), 0);
    EXPECT_TRUE(Logged("[IDX: 3] FtpUpload Time: 1.50 sec", engine::kLogInfo));
}

TEST_F(ShareStatusTabTest, SlowUploadsUpToTheThresholdStopTheJobAndRestartItTwoSecondsLater) {
    Notify(engine::cfUploadTime, 2000);  // exactly SegLen counts as slow
    EXPECT_EQ(ui().Upload_Led->LedColor().llColor(), components::lcdRed);
    EXPECT_EQ(tab->UploadErrors(), 1);
    Notify(engine::cfUploadTime, 2500);
    EXPECT_TRUE(job->Started());
    EXPECT_FALSE(tab->RestartPending());

    const auto stopped = std::chrono::steady_clock::now();
    Notify(engine::cfUploadTime, 3000);  // the third: FtpErrThr reached
    EXPECT_EQ(tab->UploadErrors(), 3);
    EXPECT_FALSE(job->Started());
    EXPECT_TRUE(tab->RestartPending());
    const auto lines = engine::LogList()->TakeAll();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [](const engine::TLogListEntry& e) { return e.Text == "[IDX: 3] FtpUploadError [3] - Restart"; }));

    ASSERT_TRUE(fw_test::PumpUntil([&] { return job->Started(); }, 10s));
    // Qt's coarse timers may fire up to 5 % early.
    EXPECT_GE(std::chrono::steady_clock::now() - stopped, 1800ms);
    EXPECT_FALSE(tab->RestartPending());
    // The restart leaves the panel and the service as they were.
    EXPECT_TRUE(RunningLampOn());
    EXPECT_TRUE(service->Running());
}

TEST_F(ShareStatusTabTest, StoppingThePanelCancelsAPendingRestart) {
    engine::UpdateSettings([](engine::TSettings& s) { s.FtpErrThr = 1; });
    Notify(engine::cfUploadTime, 5000);
    ASSERT_TRUE(tab->RestartPending());
    panel->Disconn_TBClick();
    EXPECT_FALSE(tab->RestartPending());
    fw_test::PumpUntil([] { return false; }, 2500ms);
    EXPECT_FALSE(job->Started());
}

TEST_F(ShareStatusTabTest, NotificationsWhileStoppedOrAfterTheShareIsGoneAreIgnored) {
    panel->Disconn_TBClick();
    Notify(engine::cfWork, 100);
    Notify(engine::cfWorkBegin, 5000);
    EXPECT_FALSE(ui().FtpData_Led->LedOn());
    EXPECT_EQ(ui().FtpFiles_Label->Caption().toStdString(), "0");

    panel->Connect_TBClick();
    const platform::WindowHandle handle = fw_test::RunOf(*job, httpShare).FrameHandle;
    job->Streamers->DeleteStreamer(httpShare.get());
    platform::PostMessage(handle, engine::wmFtpNotify, engine::cfWorkBegin, 5000);
    fw_test::PumpEvents();
    EXPECT_EQ(ui().FtpFiles_Label->Caption().toStdString(), "0");
}

TEST_F(ShareStatusTabTest, HttpLampsFollowTheRequestsOfAnActiveShare) {
    tab->ShowHttpRequest();
    tab->ShowHttpSend();
    EXPECT_TRUE(ui().HttpData_Led->LedOn());
    EXPECT_TRUE(ui().HttpSend_Led->LedOn());
    fw_test::PumpUntil([&] { return !ui().HttpData_Led->LedOn(); }, 2s);
    EXPECT_FALSE(ui().HttpData_Led->LedOn());

    app::TStreamer_Frame* udpTab = panel->FindStreamerFrame(udpShare->Index);
    ASSERT_NE(udpTab, nullptr);
    udpShare->Active = false;
    udpTab->ShowHttpRequest();
    EXPECT_FALSE(udpTab->Controls().HttpData_Led->LedOn());
    tab->SetHttpErrLed(true);
    EXPECT_TRUE(ui().HttpErr_Led->LedOn());
}

TEST_F(ShareStatusTabTest, WebServerStateComesFromTheBoundServer) {
    auto server = std::make_unique<engine::TCaptureHttpServer>(0, "", nullptr);
    server->Root = (dir.path() / "root").string() + "/";
    std::filesystem::create_directories(server->Root);
    server->SetPort(fw_test::FreeTcpPort());
    ASSERT_TRUE(server->Activate());
    auto serverEntry = std::make_shared<app::THttpServerEntry>(std::move(server));
    httpShare->HttpServer = serverEntry;
    ui().HttpErr_Led->SetLedOn(true);
    tab->RefreshHttpState();
    EXPECT_TRUE(ui().HttpOn_Led->LedOn());
    EXPECT_FALSE(ui().HttpErr_Led->LedOn());

    serverEntry->Server->Deactivate();
    tab->RefreshHttpState();
    EXPECT_FALSE(ui().HttpOn_Led->LedOn());
}

TEST_F(ShareStatusTabTest, ShareTabShowsDestinationAndProtocol) {
    EXPECT_EQ(ui().Udp_Label->Caption().toStdString(), "HTTP");
    EXPECT_EQ(ui().IpAdr_Label->Caption().toStdString(), "127.0.0.1");
    EXPECT_EQ(ui().Port_Label->Caption().toStdString(), "8080");
    EXPECT_FALSE(ui().FtpUpload_Panel->isHidden());
    app::TStreamer_Frame* udpTab = panel->FindStreamerFrame(udpShare->Index);
    ASSERT_NE(udpTab, nullptr);
    EXPECT_EQ(udpTab->Controls().Udp_Label->Caption().toStdString(), "UDP");
    EXPECT_EQ(udpTab->Controls().Port_Label->Caption().toStdString(), "41234");
    EXPECT_TRUE(udpTab->Controls().FtpUpload_Panel->isHidden());
}

}  // namespace
