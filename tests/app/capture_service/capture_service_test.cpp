// The capture service: what it tells its panel and its running state through a start, a failed start,
// a stop and the guards' stops; the wait window; the web socket's audio of a service with a panel and
// of one without; an entry freed while a start waits.
#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/capture_service/CaptureService.h"
#include "app/lists/capture_list_entry.h"
#include "engine/capture/job/ScreenCapture.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "platform/display/fake_display.h"
#include "tests/engine/capture/job/screen_capture_fakes.h"
#include "tests/engine/capture/settings/capture_test_fakes.h"
#include "tests/engine/graphs/AudioGraphFilters.h"
#include "tests/engine/graphs/WebSocketTestClient.h"
#include "tests/platform/ui/qt_test_app.h"
#include "tests/support/test_env.h"

namespace {

using namespace std::chrono_literals;
using app::TCaptureServiceChange;

constexpr int32_t kCaptureIdx = 5;
constexpr int32_t kLoopback = 2130706433;  // 127.0.0.1

std::string NameOf(TCaptureServiceChange change) {
    switch (change) {
        case TCaptureServiceChange::Starting: return "starting";
        case TCaptureServiceChange::StartFailed: return "start failed";
        case TCaptureServiceChange::Stopped: return "stopped";
        case TCaptureServiceChange::Done: return "done";
    }
    return "?";
}

// A panel as the service sees it: what it was told, in order, into the test's one list of calls.
class TRecordingView final : public app::ICaptureServiceView {
public:
    explicit TRecordingView(std::vector<std::string>& calls) : calls_(calls) {}
    void CaptureServiceChanged(TCaptureServiceChange change) override {
        calls_.push_back(NameOf(change));
        if (OnChange) OnChange(change);
    }
    std::function<void(TCaptureServiceChange)> OnChange;

private:
    std::vector<std::string>& calls_;
};

class CaptureServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(fw_test::RegisterAudioGraphFilters(FW_SINK_MODULE)); }
    static void TearDownTestSuite() { fw_test::RevokeAudioGraphFilters(); }

    void SetUp() override {
        TestApp();
        display->SetMonitors({platform::FakeMonitor(0, 0, 1920, 1080, true)});
        platform::SetCurrentDisplay(display);
        engine::UpdateSettings([&](engine::TSettings& s) { s.ArchiveDir = (dir.path() / "archive").string() + "/"; });
        entry.Idx = kCaptureIdx;
    }
    void TearDown() override {
        service.reset();
        entry.Capture.reset();
        platform::SetCurrentDisplay(nullptr);
    }

    // A job without shares: "DirectX" runs the fake capture graph 100 ms after its broadcast, with
    // events running; "System" starts at once.
    void MakeService(uint8_t method) {
        engine::TScreenCaptureServices s;
        s.Vlc = std::make_shared<fw_test::FakeVlcApi>(events);
        s.MakeGraph = graphs.Factory();
        s.LogList = std::make_shared<engine::TLogList>();
        s.ShareDefaults = fw_test::TestShareDefaults(kCaptureIdx, (dir.path() / "html").string());
        entry.Capture = engine::TScreenCapture::Create(kCaptureIdx, s);
        engine::TScreenCapture& job = *entry.Capture;
        job.Params.capEncoder = engine::kCapEncoderSystem;  // no libVLC to check here
        EXPECT_TRUE(job.Prepare(kCaptureIdx));
        job.Params.capEncoder = method;
        job.Params.capKind = engine::kCapKindArea;
        job.Params.iWidth = 320;
        job.Params.iHeight = 240;
        app::TCaptureServiceHooks hooks;
        hooks.ShowWaitForm = [this] { calls.push_back("wait shown"); };
        hooks.CloseWaitForm = [this] { calls.push_back("wait closed"); };
        service = std::make_shared<app::TCaptureService>(entry, hooks);
    }
    // The entry's web socket, active, with its audio graph on a port of its own.
    std::shared_ptr<app::TWebSocketEntry> LinkWebSocket(bool linkActive) {
        auto socket = std::make_shared<app::TWebSocketEntry>();
        socket->Addr = kLoopback;
        socket->Port = fw_test::FreeTcpPort();
        socket->Active = true;
        socket->Graph = std::make_unique<engine::TWebSocketFilterGraph>();
        entry.WebSocket = socket;
        entry.WebSocketAct = linkActive;
        return socket;
    }
    // The audio is served: a client connects and receives a binary message.
    static bool AudioServed(int port) {
        std::unique_ptr<fw_test::TWebSocketTestClient> client;
        const bool connected = fw_test::WaitUntil(
            [&] {
                client = std::make_unique<fw_test::TWebSocketTestClient>();  // a refused socket is not used again
                return client->Connect(port, 1s);
            },
            5s);
        if (!connected) return false;
        const auto message = client->Read(5s);
        return message && message->Binary && !message->Bytes.empty();
    }

    fw_test::TempDir dir;
    std::shared_ptr<platform::TFakeDisplay> display = std::make_shared<platform::TFakeDisplay>();
    std::shared_ptr<fw_test::EventLog> events = std::make_shared<fw_test::EventLog>();
    fw_test::FakeGraphFactory graphs = fw_test::FakeGraphFactory::With(events);
    app::TCaptureListEntry entry;
    std::shared_ptr<app::TCaptureService> service;
    std::vector<std::string> calls;
};

TEST_F(CaptureServiceTest, StartAndStopTellThePanelInOrderUnderTheWaitWindow) {
    struct Case {
        const char* what;
        bool graphWorks;
        std::vector<std::string> started;
        bool running;
    };
    const Case cases[] = {
        {"a start that works", true, {"wait shown", "starting", "done", "wait closed"}, true},
        {"a failed start", false, {"wait shown", "starting", "start failed", "done", "wait closed"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        graphs.initOk = c.graphWorks;
        MakeService(engine::kCapEncoderDirectX);
        TRecordingView view(calls);
        service->SetView(&view);
        calls.clear();
        entry.StartTime = {};

        service->StartStop(true);
        EXPECT_EQ(calls, c.started);
        EXPECT_EQ(entry.Capture->Started(), c.running);
        EXPECT_TRUE(service->SwitchedOn()) << "the panel's running lamp goes on whether or not the job started";
        EXPECT_EQ(service->Running(), c.running);
        const auto started = entry.StartTime;
        EXPECT_NE(started, std::chrono::system_clock::time_point{});

        calls.clear();
        service->StartStop(false);
        EXPECT_EQ(calls, (std::vector<std::string>{"wait shown", "stopped", "done", "wait closed"}));
        EXPECT_FALSE(entry.Capture->Started());
        EXPECT_FALSE(service->SwitchedOn());
        EXPECT_FALSE(service->Running());
        EXPECT_GE(entry.StartTime, started) << "a stop sets the start time too";

        // While the program closes there is no wait window.
        calls.clear();
        engine::AppClosing = true;
        service->StartStop(false);
        engine::AppClosing = false;
        EXPECT_EQ(calls, (std::vector<std::string>{"stopped", "done"}));
        service->RemoveView(&view);
    }
}

// The guards stop the job alone, and the FTP mirror's restart starts it alone: the service stays
// switched on and running, and the panel hears nothing. A later start that fails leaves it running.
TEST_F(CaptureServiceTest, GuardsStopTheJobAloneAndAFailedStartLeavesARunningServiceRunning) {
    MakeService(engine::kCapEncoderDirectX);
    TRecordingView view(calls);
    service->SetView(&view);
    service->StartStop(true);
    ASSERT_TRUE(service->Running());
    const auto startTime = entry.StartTime;
    calls.clear();

    service->StopJob();
    EXPECT_FALSE(entry.Capture->Started());
    EXPECT_TRUE(service->Running());
    EXPECT_EQ(entry.StartTime, startTime);
    service->StartJob();
    EXPECT_TRUE(entry.Capture->Started());
    EXPECT_TRUE(calls.empty());

    service->StopJob();
    graphs.initOk = false;
    service->StartStop(true);
    EXPECT_FALSE(entry.Capture->Started());
    EXPECT_EQ(calls, (std::vector<std::string>{"wait shown", "starting", "start failed", "done", "wait closed"}));
    EXPECT_TRUE(service->Running()) << "a failed start leaves the running state as it was";
    service->RemoveView(&view);
}

// Every start of a service starts its web socket's audio when the link is switched on, and every stop
// stops it: with a panel as without one.
TEST_F(CaptureServiceTest, EveryServiceStartsAndStopsItsWebSocketsAudio) {
    struct Case {
        const char* what;
        bool withPanel;
        bool linkActive;
    };
    const Case cases[] = {{"with a panel", true, true}, {"without a panel", false, true}, {"link off", false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MakeService(engine::kCapEncoderSystem);
        TRecordingView view(calls);
        if (c.withPanel) service->SetView(&view);
        const std::shared_ptr<app::TWebSocketEntry> socket = LinkWebSocket(c.linkActive);

        service->StartStop(true);
        ASSERT_TRUE(service->Running());
        EXPECT_EQ(socket->Graph->Built(), c.linkActive);
        EXPECT_EQ(AudioServed(socket->Port), c.linkActive);

        service->StartStop(false);
        EXPECT_FALSE(socket->Graph->Built());
        fw_test::TWebSocketTestClient stale;
        EXPECT_FALSE(stale.Connect(socket->Port, 1s)) << "the audio is still served after the stop";
        service->RemoveView(&view);
    }
}

// The main window frees the entry while the job's start waits with events running (here inside the
// graph's 100 ms delay) and lets go of the service: the start ends there, told nothing more, starting
// no audio, and the service goes once its start has returned.
TEST_F(CaptureServiceTest, EntryFreedWhileTheStartWaitsEndsTheStartThere) {
    MakeService(engine::kCapEncoderDirectX);
    const std::shared_ptr<app::TWebSocketEntry> socket = LinkWebSocket(true);
    TRecordingView view(calls);
    service->SetView(&view);
    view.OnChange = [&](TCaptureServiceChange change) {
        if (change != TCaptureServiceChange::Starting) return;
        QTimer::singleShot(0, [&] {
            calls.push_back("entry freed");
            service->RemoveView(&view);
            service->Detach();
            service.reset();
            entry.Capture.reset();
        });
    };
    const std::weak_ptr<app::TCaptureService> watched = service;

    service.get()->StartStop(true);  // as the main window's start-all calls it, holding nothing
    EXPECT_EQ(calls, (std::vector<std::string>{"wait shown", "starting", "entry freed", "wait closed"}));
    EXPECT_TRUE(watched.expired());
    EXPECT_FALSE(socket->Graph->Built()) << "the audio started for a freed entry";
}

}  // namespace
