// The capture job's start and stop with fake libVLC, capture graph and FTP mirror on a fake display:
// the order of the steps, the 3-second rule, failed starts, the watchers, stops asked for from other
// threads or inside the job's own waits, and a job let go while it still works.
#include <gtest/gtest.h>

#include <QTimer>
#include <set>
#include <thread>

#include "engine/capture/broadcast/DelayWithMessages.h"
#include "engine/capture/job/ScreenCapture.h"
#include "engine/capture/job/ShareOutputs.h"
#include "engine/capture/workers/SharePage.h"
#include "engine/settings/settings_store.h"
#include "platform/display/fake_display.h"
#include "tests/engine/capture/broadcast/stream_test_helpers.h"
#include "tests/engine/capture/job/screen_capture_fakes.h"
#include "tests/engine/capture/settings/capture_test_fakes.h"
#include "tests/platform/ui/qt_test_app.h"
#include "tests/support/event_pump.h"

using fw_test::PumpFor;
using fw_test::PumpUntil;
using fw_test::RunOf;

namespace {

using namespace engine;
using namespace std::chrono_literals;
using fw_test::Clock;

constexpr int kCaptureIdx = 3;

struct TJobLogLine {
    std::string Text;
    uint8_t Level;
};

class ScreenCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestApp();
        display->SetMonitors({platform::FakeMonitor(0, 0, 1920, 1080, true)});
        platform::SetCurrentDisplay(display);
        engine::UpdateSettings([&](engine::TSettings& s) {
            s.ArchiveDir = (dir.path() / "archive").string() + "/";
            s.DefFps = 2;
            s.SegLen = 2;
        });
        server = std::make_shared<fw_test::FakeHttpServer>(kLoopbackAddress, 8080, (dir.path() / "web").string() + "/");
    }
    void TearDown() override {
        job.reset();
        fw_test::WaitUntil([] { return TWorkerThread::RunningCount() == 0; }, 10s);
        platform::SetCurrentDisplay(nullptr);
    }

    std::shared_ptr<TScreenCapture> MakeJob(uint8_t method, uint8_t kind = kCapKindArea) {
        TScreenCaptureServices s;
        s.Vlc = vlc;
        s.MakeGraph = graphs.Factory();
        s.MakeFtpMirror = [this](const TFtpUpdateSettings& settings) -> std::unique_ptr<IShareWorker> {
            return std::make_unique<fw_test::FakeMirror>(events, settings);
        };
        s.Notifier = notifier;
        s.LogList = workerLog.list;
        s.ShareDefaults = fw_test::TestShareDefaults(kCaptureIdx, (dir.path() / "html").string());
        s.NextInternalPort = nextPort;
        auto made = TScreenCapture::Create(kCaptureIdx, s);
        made->OnLog = [this](TScreenCapture&, const std::string& text, uint8_t level) { jobLog.push_back({text, level}); };
        made->Params.capEncoder = method;
        made->Params.capKind = kind;
        made->Params.iLeft = 32;
        made->Params.iTop = 16;
        made->Params.iWidth = 320;
        made->Params.iHeight = 240;
        PrepareWithoutVlc(*made);
        return made;
    }

    // The stream name and the checks of Prepare, without loading a libVLC (there is none here).
    static void PrepareWithoutVlc(TScreenCapture& job) {
        const uint8_t method = job.Params.capEncoder;
        job.Params.capEncoder = kCapEncoderSystem;
        EXPECT_TRUE(job.Prepare(kCaptureIdx));
        job.Params.capEncoder = method;
    }

    PCaptureStreamer AddHttpShare(TScreenCapture& to, bool video, bool image, const std::string& subDir = "pc1") {
        auto share = std::make_shared<TCaptureStreamer>();
        to.Streamers->InitStreamer(*share, true);
        share->HttpServer = server;
        share->SubDir = subDir;
        share->VideoActive = video;
        share->ImageActive = image;
        to.Streamers->Append(share);
        return share;
    }
    PCaptureStreamer AddUdpShare(TScreenCapture& to) {
        auto share = std::make_shared<TCaptureStreamer>();
        to.Streamers->InitStreamer(*share, false);
        share->Port = 41234;
        to.Streamers->Append(share);
        return share;
    }

    bool Logged(const std::string& part, uint8_t level) const {
        return std::any_of(jobLog.begin(), jobLog.end(),
                           [&](const TJobLogLine& l) { return l.Level == level && l.Text.find(part) != std::string::npos; });
    }

    fw_test::TempDir dir;
    std::shared_ptr<platform::TFakeDisplay> display = std::make_shared<platform::TFakeDisplay>();
    std::shared_ptr<fw_test::EventLog> events = std::make_shared<fw_test::EventLog>();
    std::shared_ptr<fw_test::FakeVlcApi> vlc = std::make_shared<fw_test::FakeVlcApi>(events);
    fw_test::FakeGraphFactory graphs = fw_test::FakeGraphFactory::With(events);
    std::shared_ptr<fw_test::CountingNotifier> notifier = std::make_shared<fw_test::CountingNotifier>();
    fw_test::LogRecorder workerLog;
    std::shared_ptr<fw_test::FakeHttpServer> server;
    std::vector<TJobLogLine> jobLog;
    std::function<int32_t()> nextPort;  // none: the program's port counter
    std::shared_ptr<TScreenCapture> job;
};

TEST_F(ScreenCaptureTest, GraphMethodListensBeforePlayRunsTheGraphLaterAndStopsAfterThreeSeconds) {
    job = MakeJob(kCapEncoderDirectX);
    const auto http = AddHttpShare(*job, true, true);
    AddUdpShare(*job);

    const auto called = Clock::now();
    ASSERT_TRUE(job->Start());
    EXPECT_TRUE(job->Started());
    const std::vector<std::string> order = {"vlc.new", "graph.init", "graph.port", "vlc.add", "vlc.play", "graph.run"};
    EXPECT_EQ(events->Names(), order);
    EXPECT_GE(events->Last("graph.run") - events->Last("vlc.play"), std::chrono::milliseconds(kGraphRunDelayMs));
    EXPECT_EQ(vlc->lastInput, "tcp://127.0.0.1:" + std::to_string(job->InternalPort));
    EXPECT_EQ(vlc->lastName, job->MediaName());
    EXPECT_TRUE(job->MediaName().starts_with("Quillmar_") && job->MediaName().size() == 17) << job->MediaName();
    EXPECT_NE(vlc->lastOutput.find("index=\"" + server->Root() + "pc1/stream_3.m3u8\""), std::string::npos) << vlc->lastOutput;
    EXPECT_NE(vlc->lastOutput.find("dst=udp{mux=ts,dst=127.0.0.1:41234}"), std::string::npos) << vlc->lastOutput;

    ASSERT_EQ(graphs.inputs.size(), 1u);
    const TFgSpreadInputParams& input = graphs.inputs[0];
    EXPECT_EQ(input.UseScreenFilter, 1);
    EXPECT_EQ(input.SinkPort, job->InternalPort);
    EXPECT_EQ(input.SinkInterface, siTcpServer);
    EXPECT_EQ(input.ScreenCapture.CaptureMode, 2);
    EXPECT_EQ(input.ScreenCapture.Left, 32);
    EXPECT_EQ(input.ScreenCapture.Top, 16);
    EXPECT_EQ(input.ScreenCapture.Width, 320);
    EXPECT_EQ(input.ScreenCapture.Height, 240);
    EXPECT_EQ(input.ScreenCapture.FrameRate, job->Params.vidFrameRate);
    EXPECT_EQ(input.ScreenCapture.VideoOutput, 1);
    EXPECT_EQ(input.ScreenCapture.SnapshotOutput, 1);

    EXPECT_TRUE(job->HlsTimerEnabled());
    EXPECT_TRUE(job->HasMonitorTimer());
    EXPECT_FALSE(job->HasWindowTimer());
    EXPECT_EQ(notifier->Count(kCnVideoData), 1);  // the one HLS share's indicator
    ASSERT_TRUE(RunOf(*job, http).ImageThread);
    const std::string image = server->Root() + "pc1/" + CaptureImageBaseName(http->IpAddr, http->Port) + ".png";
    EXPECT_TRUE(PumpUntil([&] { return std::filesystem::exists(image); }, 5s)) << image;

    // A second start changes nothing; the stream tick goes on every second.
    EXPECT_TRUE(job->Start());
    EXPECT_EQ(events->Count("vlc.add"), 1);
    EXPECT_EQ(events->Count("graph.init"), 1);
    EXPECT_TRUE(PumpUntil([&] { return notifier->Count(kCnVideoData) >= 2; }, 3s));

    std::weak_ptr<IShareWorker> snapshots = RunOf(*job, http).ImageThread;
    job->Stop();
    const auto stopped = Clock::now();
    EXPECT_GE(stopped - called, kMinBroadcastRunTime);
    EXPECT_GE(events->Last("vlc.stop") - called, kMinBroadcastRunTime);
    EXPECT_LT(stopped - called, kMinBroadcastRunTime + 2s);
    const std::vector<std::string> stopOrder = {"vlc.stop", "vlc.del", "vlc.release", "graph.shutdown"};
    const auto names = events->Names();
    EXPECT_EQ(std::vector<std::string>(names.end() - 4, names.end()), stopOrder);
    EXPECT_FALSE(job->Started());
    EXPECT_FALSE(job->HasVlcInstance());
    EXPECT_EQ(vlc->liveInstances, 0);
    EXPECT_FALSE(job->HasGraph());
    EXPECT_FALSE(job->HlsTimerEnabled());
    EXPECT_FALSE(job->HasMonitorTimer());
    EXPECT_FALSE(RunOf(*job, http).ImageThread);
    EXPECT_TRUE(fw_test::WaitUntil([] { return TWorkerThread::RunningCount() == 0; }, 5s));
    EXPECT_TRUE(snapshots.expired());

    const size_t eventCount = events->Names().size();
    job->Stop();
    EXPECT_EQ(events->Names().size(), eventCount);
    const int ticks = notifier->Count(kCnVideoData);
    PumpFor(1500ms);
    EXPECT_EQ(notifier->Count(kCnVideoData), ticks);
}

TEST_F(ScreenCaptureTest, SnapshotOnlyJobAddsNoBroadcastRunsAtDefFpsAndStopsWhenMonitorsChange) {
    job = MakeJob(kCapEncoderDirectX);
    job->Params.bPreScale = true;
    job->Params.vidScale = 6;  // 50 %: not applied without video
    AddHttpShare(*job, false, true, "pc1");
    AddHttpShare(*job, false, true, "pc2");

    ASSERT_TRUE(job->Start());
    EXPECT_EQ(events->Count("vlc.add"), 0);
    EXPECT_EQ(events->Count("graph.run"), 1);
    EXPECT_FALSE(job->HlsTimerEnabled());
    EXPECT_EQ(notifier->Count(kCnVideoData), 0);
    EXPECT_TRUE(job->HasMonitorTimer());
    ASSERT_EQ(graphs.inputs.size(), 1u);
    EXPECT_EQ(graphs.inputs[0].ScreenCapture.FrameRate, 2);
    EXPECT_EQ(graphs.inputs[0].ScreenCapture.ScalePercent, 100);
    EXPECT_EQ(graphs.inputs[0].ScreenCapture.VideoOutput, 0);
    EXPECT_EQ(job->StartMonitorCount(), 1);

    display->SetMonitors({platform::FakeMonitor(0, 0, 1920, 1080, true), platform::FakeMonitor(1920, 0, 3200, 1024)});
    EXPECT_TRUE(PumpUntil([&] { return !job->Started(); }, 6s));
    EXPECT_TRUE(std::any_of(jobLog.begin(), jobLog.end(), [](const TJobLogLine& l) {
        return l.Text == kMonitorsChangedText && l.Level == kLogLevelError;
    }));
    // Plugging the monitor back does not restart the job.
    display->SetMonitors({platform::FakeMonitor(0, 0, 1920, 1080, true)});
    PumpFor(1500ms);
    EXPECT_FALSE(job->Started());
    EXPECT_EQ(events->Count("graph.init"), 1);
}

struct TFailureCase {
    const char* Name;
    std::function<void(fw_test::FakeVlcApi&, fw_test::FakeGraphFactory&)> Arrange;
    const char* Logged;
};

TEST_F(ScreenCaptureTest, FailedStartReportsFailureAndLeavesNothingRunning) {
    const std::vector<TFailureCase> cases = {
        {"instance refused", [](auto& v, auto&) { v.failNew = true; }, "refused to create an instance"},
        {"broadcast refused", [](auto& v, auto&) { v.addResult = -1; }, "refused the broadcast"},
        {"input refused", [](auto& v, auto&) { v.inputRuns = false; }, "could not be read"},
        {"graph not built", [](auto&, auto& g) { g.initOk = false; }, "capture graph could not be built"},
        {"no port for the sink", [](auto&, auto& g) { g.everyPortTaken = true; }, "no internal port can be had"},
        {"graph does not run", [](auto&, auto& g) { g.runOk = false; }, "capture graph does not run"},
    };
    for (const TFailureCase& c : cases) {
        SCOPED_TRACE(c.Name);
        *vlc = fw_test::FakeVlcApi(events);
        graphs.initOk = graphs.runOk = true;
        graphs.everyPortTaken = false;
        c.Arrange(*vlc, graphs);
        jobLog.clear();
        job = MakeJob(kCapEncoderDirectX);
        const auto share = AddHttpShare(*job, true, true);
        std::shared_ptr<IShareWorker> firstSnapshots;
        vlc->onAdd = [&] { firstSnapshots = RunOf(*job, share).ImageThread; };
        const int videoTicks = notifier->Count(kCnVideoData);

        EXPECT_FALSE(job->Start());
        EXPECT_FALSE(job->Started());
        EXPECT_TRUE(Logged(c.Logged, kLogLevelError));
        EXPECT_FALSE(job->HlsTimerEnabled());
        EXPECT_EQ(notifier->Count(kCnVideoData), videoTicks);
        EXPECT_FALSE(job->HasMonitorTimer());
        EXPECT_FALSE(job->HasGraph());
        EXPECT_FALSE(job->HasVlcInstance());
        EXPECT_EQ(vlc->liveInstances, 0);
        EXPECT_FALSE(RunOf(*job, share).ImageThread);
        if (firstSnapshots) {
            EXPECT_TRUE(static_cast<TWorkerThread&>(*firstSnapshots).EndRequested());
        }

        // Started again once the fault is gone: a fresh snapshot thread, the job runs.
        *vlc = fw_test::FakeVlcApi(events);
        graphs.initOk = graphs.runOk = true;
        graphs.everyPortTaken = false;
        ASSERT_TRUE(job->Start());
        ASSERT_TRUE(RunOf(*job, share).ImageThread);
        EXPECT_NE(RunOf(*job, share).ImageThread, firstSnapshots);
        job->Stop();
        job.reset();
    }
}

// Another program may hold the sink's port: the job moves its sink on along the port counter, says which
// port it took, and libVLC reads from the port the sink holds. When every port of a tiny range is
// taken, the start fails and says so, and libVLC is never pointed anywhere.
TEST_F(ScreenCaptureTest, TakenInternalPortMovesTheSinkAlongTheCounterOrFailsTheStart) {
    constexpr int32_t kOwnPort = 47500;
    constexpr int32_t kNoPort = 0;
    const struct {
        const char* Name;
        std::vector<int32_t> Range;  // what the counter hands out after the job's own port, round and round
        std::set<int32_t> Taken;
        int32_t Held;                // the port the sink ends on
        int Moves;
    } cases[] = {
        {"own port free", {51000}, {}, kOwnPort, 0},
        {"own port taken", {51000, 51001}, {kOwnPort}, 51000, 1},
        {"own port and the next taken", {51000, 51001}, {kOwnPort, 51000}, 51001, 2},
        {"every port of the range taken", {51000, 51001}, {kOwnPort, 51000, 51001}, kNoPort, kMaxInternalPortAttempts - 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        events->Clear();
        *vlc = fw_test::FakeVlcApi(events);
        jobLog.clear();
        graphs.takenPorts = c.Taken;
        size_t handedOut = 0;
        nextPort = [&] {
            const size_t n = handedOut++;
            return n == 0 ? kOwnPort : c.Range[(n - 1) % c.Range.size()];
        };
        job = MakeJob(kCapEncoderDirectX);
        AddHttpShare(*job, true, false);
        ASSERT_EQ(job->InternalPort, kOwnPort);

        EXPECT_EQ(job->Start(), c.Held != kNoPort);
        EXPECT_EQ(events->Count("graph.listen"), c.Moves);
        if (c.Held != kNoPort) {
            EXPECT_EQ(job->InternalPort, c.Held);
            EXPECT_EQ(vlc->lastInput, "tcp://127.0.0.1:" + std::to_string(c.Held));
            EXPECT_EQ(Logged("the capture takes port " + std::to_string(c.Held), kLogLevelInfo), c.Moves > 0);
            EXPECT_EQ(events->Count("graph.run"), 1);
        } else {
            EXPECT_TRUE(Logged("no internal port can be had", kLogLevelError));
            EXPECT_EQ(events->Count("vlc.add"), 0);
            EXPECT_EQ(events->Count("graph.run"), 0);
            EXPECT_FALSE(job->HasGraph());
            EXPECT_FALSE(job->HasVlcInstance());
        }
        job->Stop();
        job.reset();
    }
    graphs.takenPorts.clear();
    nextPort = nullptr;
}

TEST_F(ScreenCaptureTest, StopAskedForElsewhereRunsOnTheJobsThread) {
    job = MakeJob(kCapEncoderDirectX);
    AddHttpShare(*job, true, false);
    ASSERT_TRUE(job->Start());
    const platform::WindowHandle handle = job->StopRequestHandle();
    std::thread([handle] { EXPECT_TRUE(RequestCaptureStop(handle)); }).join();
    EXPECT_TRUE(PumpUntil([&] { return !job->Started(); }, 6s));
    EXPECT_EQ(vlc->stopThread, std::this_thread::get_id());
    job.reset();
    EXPECT_FALSE(RequestCaptureStop(handle));
}

TEST_F(ScreenCaptureTest, StopAskedForDuringTheStartStopsTheJobOnceTheStartIsDone) {
    job = MakeJob(kCapEncoderDirectX);
    AddHttpShare(*job, true, false);
    vlc->onAdd = [&] { QTimer::singleShot(0, [&] { job->Stop(); }); };  // delivered inside the start's waits
    EXPECT_FALSE(job->Start());
    EXPECT_FALSE(job->Started());
    EXPECT_EQ(events->Count("graph.run"), 1);
    EXPECT_EQ(events->Count("vlc.stop"), 1);
    EXPECT_GE(events->Last("vlc.stop") - events->Last("vlc.add"), kMinBroadcastRunTime - 500ms);
    EXPECT_EQ(events->Count("graph.shutdown"), 1);
}

TEST_F(ScreenCaptureTest, JobLetGoInsideItsOwnWaitIsFreedAfterTheWait) {
    for (const bool duringStart : {true, false}) {
        SCOPED_TRACE(duringStart ? "during start" : "during stop");
        events->Clear();
        job = MakeJob(kCapEncoderDirectX);
        const auto share = AddHttpShare(*job, true, true);
        std::weak_ptr<TScreenCapture> weak = job;
        std::shared_ptr<IShareWorker> snapshots;
        if (duringStart) {
            vlc->onAdd = [&] {
                snapshots = RunOf(*job, share).ImageThread;
                QTimer::singleShot(0, [&] { job.reset(); });
            };
            job->Start();
        } else {
            vlc->onAdd = nullptr;
            ASSERT_TRUE(job->Start());
            snapshots = RunOf(*job, share).ImageThread;
            QTimer::singleShot(300, [&] { job.reset(); });
            TScreenCapture* raw = job.get();
            raw->Stop();
        }
        EXPECT_TRUE(weak.expired());
        EXPECT_EQ(events->Count("vlc.stop"), 1);
        EXPECT_EQ(events->Count("graph.shutdown"), 1);
        EXPECT_EQ(vlc->liveInstances, 0);
        ASSERT_TRUE(snapshots);
        EXPECT_TRUE(static_cast<TWorkerThread&>(*snapshots).EndRequested());  // the job ended its shares' workers
    }
}

TEST_F(ScreenCaptureTest, MovedWindowRestartsTheJobWithItsNewRectangle) {
    platform::TFakeWindow watched;
    watched.ClassName = "FwWatched";
    watched.Caption = "Watched window";
    watched.Rect = {100, 200, 420, 440};
    const platform::WindowId window = display->AddWindow(watched);
    job = MakeJob(kCapEncoderDirectX, kCapKindWindow);
    job->Params.Window.sClass = "FwWatched";
    job->Params.Window.sCaption = "Watched window";
    PrepareWithoutVlc(*job);
    AddHttpShare(*job, true, true);
    int restarts = 0;
    job->OnRestart = [&](TScreenCapture& sender) {
        EXPECT_EQ(&sender, job.get());
        ++restarts;
    };
    ASSERT_TRUE(job->Start());
    EXPECT_TRUE(job->HasWindowTimer());
    EXPECT_FALSE(job->HasMonitorTimer());
    ASSERT_EQ(graphs.inputs.size(), 1u);
    EXPECT_EQ(graphs.inputs[0].ScreenCapture.Left, 100);
    EXPECT_EQ(graphs.inputs[0].ScreenCapture.WindowClass, "FwWatched");

    PumpFor(1200ms);  // an unmoved window changes nothing
    EXPECT_EQ(restarts, 0);
    display->MoveWindow(window, {300, 250, 620, 490});
    ASSERT_TRUE(PumpUntil([&] { return restarts == 1; }, 8s));
    EXPECT_TRUE(job->Started());
    EXPECT_TRUE(job->HasWindowTimer());
    ASSERT_EQ(graphs.inputs.size(), 2u);
    EXPECT_EQ(graphs.inputs[1].ScreenCapture.Left, 300);
    EXPECT_EQ(graphs.inputs[1].ScreenCapture.Top, 250);
    EXPECT_GE(events->Last("graph.init") - events->Last("vlc.stop"), std::chrono::milliseconds(kWindowRestartPauseMs));
    PumpFor(1200ms);
    EXPECT_EQ(restarts, 1);
}

// While the captured window is hidden or gone the job goes on as it is (same graph, same size, the
// capture graph publishing black), says so once, and starts afresh only when the window shows again
// elsewhere or another window of its names is found. libVLC's own screen reading cannot black a
// window out, so such a job stops instead.
TEST_F(ScreenCaptureTest, HiddenOrClosedWindowKeepsTheJobAsItIs) {
    const std::string name = "window \"Watched window\" (class \"FwWatched\")";
    const std::string hiddenLine = name + " is hidden - black pictures are published until it is shown";
    const std::string goneLine = name + " is gone - black pictures are published until it is found again";
    using TChange = std::function<void(platform::TFakeDisplay&, platform::WindowId)>;
    const TChange reopen = [](platform::TFakeDisplay& d, platform::WindowId) {
        platform::TFakeWindow again;
        again.ClassName = "FwWatched";
        again.Caption = "Watched window";
        again.Rect = {100, 200, 420, 440};
        d.AddWindow(again);
    };
    struct Case {
        const char* what;
        uint8_t method;
        TChange change;
        TChange afterwards;  // once the watcher has said its first line, if set
        std::vector<std::string> lines;  // said by the window watcher
        int restarts;
        bool started;
    };
    const Case cases[] = {
        {"hidden", kCapEncoderDirectX, [](auto& d, auto w) { d.SetVisible(w, false); }, nullptr, {hiddenLine}, 0, true},
        {"closed", kCapEncoderDirectX, [](auto& d, auto w) { d.RemoveWindow(w); }, nullptr, {goneLine}, 0, true},
        {"shown again elsewhere", kCapEncoderDirectX,
         [](auto& d, auto w) {
             d.SetVisible(w, false);
             d.MoveWindow(w, {600, 300, 920, 540});
             d.SetVisible(w, true);
         },
         nullptr, {}, 1, true},
        {"closed and opened again in its place", kCapEncoderDirectX, [](auto& d, auto w) { d.RemoveWindow(w); },
         reopen, {goneLine, name + " is found again"}, 0, true},
        {"hidden, libVLC reads the screen", kCapEncoderVlc, [](auto& d, auto w) { d.SetVisible(w, false); }, nullptr,
         {hiddenLine, "[idx: 3] " + name + " is not shown - libVLC reads the screen itself and would show what lies "
                                           "there - capture stopped"},
         0, false},
    };
    for (const Case& c : cases) {
        display = std::make_shared<platform::TFakeDisplay>();
        display->SetMonitors({platform::FakeMonitor(0, 0, 1920, 1080, true)});
        platform::SetCurrentDisplay(display);
        platform::TFakeWindow watched;
        watched.ClassName = "FwWatched";
        watched.Caption = "Watched window";
        watched.Rect = {100, 200, 420, 440};
        const platform::WindowId window = display->AddWindow(watched);
        job = MakeJob(c.method, kCapKindWindow);
        job->Params.Window.sClass = "FwWatched";
        job->Params.Window.sCaption = "Watched window";
        AddHttpShare(*job, true, true);
        int restarts = 0;
        job->OnRestart = [&](TScreenCapture&) { ++restarts; };
        ASSERT_TRUE(job->Start()) << c.what;
        const size_t graphsBefore = graphs.inputs.size();
        jobLog.clear();

        c.change(*display, window);
        if (c.afterwards) {
            EXPECT_TRUE(PumpUntil([&] { return !jobLog.empty(); }, 5s)) << c.what;
            c.afterwards(*display, window);
        }
        if (c.restarts > 0)
            EXPECT_TRUE(PumpUntil([&] { return restarts == c.restarts; }, 8s)) << c.what;
        else if (!c.lines.empty())
            EXPECT_TRUE(PumpUntil([&] { return jobLog.size() >= c.lines.size(); }, 5s)) << c.what;
        PumpFor(1200ms);  // one more look of the watcher changes nothing
        std::vector<std::string> texts;
        for (const TJobLogLine& line : jobLog)
            if (line.Text.find("window \"") != std::string::npos) texts.push_back(line.Text);
        EXPECT_EQ(texts, c.lines) << c.what;
        EXPECT_EQ(restarts, c.restarts) << c.what;
        EXPECT_EQ(job->Started(), c.started) << c.what;
        if (c.method == kCapEncoderDirectX && c.restarts == 0) {
            EXPECT_EQ(graphs.inputs.size(), graphsBefore) << c.what << ": the graph stays";
            EXPECT_EQ(job->Geometry().CaptureRect, (platform::TRect{100, 200, 420, 440})) << c.what << ": the last size stays";
        }
        job.reset();
    }
}

// Never found at the start: the graph publishes black at the primary screen's size and is told the
// window's names; once the window shows, the job starts afresh at its size. A capture naming no
// window at all would show the desktop: it does not start.
TEST_F(ScreenCaptureTest, WindowNotYetOpenIsTakenWhenItAppears) {
    job = MakeJob(kCapEncoderDirectX, kCapKindWindow);
    job->Params.Window.sClass = "FwLater";
    job->Params.Window.sCaption = "Opened later";
    AddHttpShare(*job, true, true);
    int restarts = 0;
    job->OnRestart = [&](TScreenCapture&) { ++restarts; };
    ASSERT_TRUE(job->Start());
    ASSERT_EQ(graphs.inputs.size(), 1u);
    EXPECT_EQ(graphs.inputs[0].ScreenCapture.Width, 1920);
    EXPECT_EQ(graphs.inputs[0].ScreenCapture.Height, 1088);
    EXPECT_EQ(graphs.inputs[0].ScreenCapture.WindowClass, "FwLater");
    EXPECT_EQ(graphs.inputs[0].ScreenCapture.WindowCaption, "Opened later");
    EXPECT_TRUE(Logged("window \"Opened later\" (class \"FwLater\") not found - black pictures are published until it is shown",
                       kLogLevelError));

    platform::TFakeWindow later;
    later.ClassName = "FwLater";
    later.Caption = "Opened later";
    later.Rect = platform::MakeRect(40, 50, 640, 480);
    display->AddWindow(later);
    ASSERT_TRUE(PumpUntil([&] { return restarts == 1; }, 8s));
    ASSERT_EQ(graphs.inputs.size(), 2u);
    EXPECT_EQ(graphs.inputs[1].ScreenCapture.Left, 40);
    EXPECT_EQ(graphs.inputs[1].ScreenCapture.Width, 640);
    EXPECT_TRUE(Logged("window \"Opened later\" (class \"FwLater\") is found", kLogLevelInfo));
    job.reset();

    jobLog.clear();
    job = MakeJob(kCapEncoderDirectX, kCapKindWindow);
    AddHttpShare(*job, true, true);
    EXPECT_FALSE(job->Start());
    EXPECT_TRUE(Logged("[idx: 3] the window capture names no window (class and caption are empty) - capture not started",
                       kLogLevelError));
    EXPECT_FALSE(job->HasGraph());
}

// Other kinds name no window to the capture graph, whatever a window search left in their settings.
TEST_F(ScreenCaptureTest, OnlyWindowCapturesNameTheirWindowToTheGraph) {
    job = MakeJob(kCapEncoderDirectX, kCapKindArea);
    job->Params.Window.sClass = "FwLeftOver";
    job->Params.Window.sCaption = "Left over";
    AddHttpShare(*job, true, true);
    ASSERT_TRUE(job->Start());
    ASSERT_EQ(graphs.inputs.size(), 1u);
    EXPECT_EQ(graphs.inputs[0].ScreenCapture.WindowClass, "");
    EXPECT_EQ(graphs.inputs[0].ScreenCapture.WindowCaption, "");
}

TEST_F(ScreenCaptureTest, SharesGetMirrorsAndTheServersPageFiles) {
    const auto indexFile = dir.path() / "server" / "index.html";
    const auto extraFile = dir.path() / "server" / "player.js";
    fw_test::MakeFile(indexFile, "<img src=\"<imgsrc>\" name=\"capimg\">");
    fw_test::MakeFile(extraFile, "// player");
    server->indexHtml = indexFile.string();
    server->fileList = {extraFile.string(), (dir.path() / "missing.js").string()};

    job = MakeJob(kCapEncoderDirectX);
    const auto mirrored = AddHttpShare(*job, true, false, "pc1");
    mirrored->FtpActive = true;
    mirrored->FtpHost = "ftp.example.org";
    mirrored->FtpPassword = "secret";
    mirrored->FtpHostDir = "/live";
    job->ShareRuns().Of(mirrored).FrameHandle = 77;  // as the share's status tab does
    mirrored->FtpImageFreq = 9;
    const auto noPassword = AddHttpShare(*job, false, true, "pc2");
    noPassword->FtpActive = true;
    const auto inactive = AddHttpShare(*job, true, true, "pc3");
    inactive->Active = false;

    ASSERT_TRUE(job->Start());
    EXPECT_EQ(events->Count("mirror.new"), 1);
    const auto* mirror = dynamic_cast<const fw_test::FakeMirror*>(RunOf(*job, mirrored).FtpUpdate.get());
    ASSERT_NE(mirror, nullptr);
    EXPECT_EQ(mirror->settings.Host, "ftp.example.org");
    EXPECT_EQ(mirror->settings.User, "user");
    EXPECT_EQ(mirror->settings.Password, "secret");
    EXPECT_EQ(mirror->settings.LocalDir, server->Root() + "pc1/");
    EXPECT_EQ(mirror->settings.StreamName, "stream_3");
    EXPECT_EQ(mirror->settings.ImageBaseName, CaptureImageBaseName(mirrored->IpAddr, mirrored->Port));  // the snapshot's name
    EXPECT_EQ(mirror->settings.HostDir, "live/");
    EXPECT_EQ(mirror->settings.NotifyWindow, 77u);
    EXPECT_EQ(mirror->settings.ImgFreq, 9);
    EXPECT_EQ(mirrored->FtpHostDir, "live/");
    EXPECT_NE(vlc->lastOutput.find("index-url=\"http://ftp.example.org/live/stream_3_"), std::string::npos) << vlc->lastOutput;
    EXPECT_FALSE(RunOf(*job, noPassword).FtpUpdate);

    for (const char* folder : {"pc1/", "pc2/"}) {
        EXPECT_EQ(fw_test::ReadFile(server->Root() + folder + "player.js"), "// player") << folder;
        EXPECT_TRUE(std::filesystem::exists(server->Root() + folder + "index.html")) << folder;
    }
    EXPECT_FALSE(std::filesystem::exists(server->Root() + "pc3"));
    EXPECT_FALSE(RunOf(*job, inactive).ImageThread);
    // The snapshot share's page is its worker's, filled in, never the raw template copied over it.
    const auto page = [&] { return fw_test::ReadFile(server->Root() + "pc2/index.html"); };
    EXPECT_TRUE(PumpUntil([&] { return page().find("capimg_") != std::string::npos; }, 5s)) << page();
    PumpFor(200ms);
    EXPECT_EQ(page().find("<imgsrc>"), std::string::npos) << page();
    job->Stop();
    EXPECT_EQ(events->Count("mirror.free"), 1);
    EXPECT_FALSE(RunOf(*job, mirrored).FtpUpdate);
}

// A share deleted from the job's list, by an editor too, ends what runs for it at once.
TEST_F(ScreenCaptureTest, DeletingAShareEndsItsWorkers) {
    job = MakeJob(kCapEncoderDirectX);
    TShareList& shares = *job->Streamers;
    const PCaptureStreamer a = shares.AddStreamer();
    const PCaptureStreamer b = shares.AddStreamer();
    auto log = std::make_shared<fw_test::WorkerLog>();
    TShareRun& run = job->ShareRuns().Of(a);
    run.ImageThread = std::make_shared<fw_test::FakeWorker>(log);
    run.CopyFileThread = std::make_shared<fw_test::FakeWorker>(log);
    run.FtpUpdate = std::make_unique<fw_test::FakeWorker>(log);
    std::weak_ptr<IShareWorker> thread = run.ImageThread;

    TCaptureStreamer stranger;
    shares.DeleteStreamer(&stranger);
    shares.DeleteStreamer(nullptr);
    EXPECT_EQ(shares.Count(), 2u);
    EXPECT_EQ(shares.IndexOfStreamer(&stranger), -1);
    EXPECT_EQ(shares.IndexOfStreamer(b.get()), 1);
    EXPECT_EQ(log->endRequests, 0);

    shares.DeleteStreamer(a.get());
    EXPECT_EQ(log->endRequests, 2);  // both threads asked to end
    EXPECT_EQ(log->destroyed, 3);    // the mirror freed, the threads forgotten
    EXPECT_TRUE(thread.expired());
    EXPECT_EQ(job->ShareRuns().Find(a), nullptr);
    EXPECT_EQ(shares.IndexOfStreamer(b.get()), 0);
    shares.ClearStreamers();
    EXPECT_EQ(shares.Count(), 0u);
}

TEST_F(ScreenCaptureTest, PageTemplateComesFromTheShareTheServerOrTheDefault) {
    const auto own = dir.path() / "own.html";
    const auto serverPage = dir.path() / "server.html";
    const auto defaultPage = dir.path() / "default.html";
    fw_test::MakeFile(defaultPage, "default");
    server->defaultIndexFile = defaultPage.string();
    TCaptureStreamer share;
    share.HttpServer = server;
    share.IndexHtml = own.string();

    struct TCase {
        bool useFileList;
        const char* ownText;     // nullptr: no such file
        const char* serverText;  // nullptr: no such file
        const char* expected;
    };
    const TCase cases[] = {
        {true, "own", "server", "own"},
        {false, "own", "server", "server"},
        {true, "", "server", "server"},
        {true, nullptr, nullptr, "default"},
    };
    for (const TCase& c : cases) {
        std::filesystem::remove(own);
        std::filesystem::remove(serverPage);
        if (c.ownText) fw_test::WriteFile(own, c.ownText);
        if (c.serverText) fw_test::WriteFile(serverPage, c.serverText);
        server->indexHtml = serverPage.string();
        share.UseFileList = c.useFileList;
        EXPECT_EQ(SharePageTemplate(share), c.expected) << c.expected;
    }
    EXPECT_EQ(CaptureArchiveFolder("/data/Archive/", 3), "/data/Archive/Cap_03/");
    EXPECT_EQ(CaptureArchiveFolder("/data/Archive", 12), "/data/Archive/Cap_12/");
}

// A folder job's instance has the common arguments only (no method's own) and plays no broadcast.
TEST_F(ScreenCaptureTest, FolderJobMakesAPlainLibVlcInstanceAndDropsItsWorkersAtStop) {
    job = MakeJob(kCapEncoderSystem, kCapKindFiles);
    job->Params.Files.capFilesDir = (dir.path() / "drop").string() + "/";
    job->Params.Files.capiFileFmt = 3;
    job->Params.capVidPid = 0;  // the transport-stream numbers off: the three fixed arguments and the preset
    job->Params.capAudPid = 0;
    job->Params.capPmtPid = 0;
    const auto share = AddHttpShare(*job, true, false);
    share->FileActive = true;
    ASSERT_TRUE(job->Start());
    EXPECT_EQ(events->Count("vlc.new"), 1);
    EXPECT_EQ(vlc->lastArgs, (std::vector<std::string>{"--ignore-config", "--no-video-title-show",
                                                       "--no-snapshot-preview", "--sout-x264-preset=ultrafast"}));
    EXPECT_EQ(events->Count("vlc.add"), 0);
    EXPECT_EQ(events->Count("graph.init"), 0);
    EXPECT_FALSE(job->HlsTimerEnabled());
    EXPECT_TRUE(RunOf(*job, share).CopyFileThread);
    EXPECT_TRUE(job->HasMonitorTimer());
    job->Stop();
    EXPECT_FALSE(RunOf(*job, share).CopyFileThread);
    EXPECT_FALSE(job->Started());
    EXPECT_EQ(vlc->liveInstances, 0) << "the stop kept the instance";
    EXPECT_EQ(events->Count("vlc.stop"), 0) << "a broadcast was stopped that never played";
}

TEST(DelayWithMessagesTest, WaitsTheTimeAndLetsTimerMessagesThrough) {
    TestApp();
    bool fired = false;
    QTimer::singleShot(20, [&] { fired = true; });
    const auto started = Clock::now();
    DelayWithMessages(100);
    const auto waited = Clock::now() - started;
    EXPECT_TRUE(fired);
    EXPECT_GE(waited, 100ms);
    EXPECT_LT(waited, 150ms);  // one poll late at most, with room for a loaded machine
}

}  // namespace
