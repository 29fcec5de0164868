// One capture job: turns the settings of one capture service into running outputs. Start computes the
// capture rectangle, creates the libVLC instance and, for the "DirectX" method, builds the capture
// graph (whose sink listens on the job's internal port from then on, or on the next port of the
// counter when another program holds that one), starts the shares' workers and
// FTP mirrors, adds and plays the broadcast and, 100 ms later, runs the graph; Stop undoes all of it,
// never stopping libVLC earlier than 3 seconds after the start.
//
// Everything here belongs to the user-interface thread, which runs a Qt event loop. Other threads ask
// for a stop with RequestCaptureStop(StopRequestHandle()); the stop then runs on that thread. The
// waits inside Start and Stop process events, so the owner may let go of the job meanwhile: jobs are
// held through std::shared_ptr and a job that is let go inside one of its own operations is freed
// once that operation has returned.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "engine/capture/job/CaptureGraph.h"
#include "engine/capture/settings/CaptureLog.h"
#include "engine/capture/settings/CaptureNotify.h"
#include "engine/capture/job/FtpMirrorWorker.h"
#include "engine/capture/job/ShareRuns.h"
#include "engine/capture/settings/CaptureRect.h"
#include "engine/capture/settings/ScreenCaptureParams.h"
#include "engine/capture/settings/ShareHttpServer.h"
#include "engine/capture/settings/ShareList.h"
#include "engine/capture/broadcast/VlcBroadcast.h"
#include "engine/capture/broadcast/VlcLibraryCheck.h"
#include "engine/settings/log_list.h"
#include "engine/vlc/VlcApi.h"
#include "platform/ui/message_target.h"
#include "platform/ui/ttimer.h"

namespace engine {

// The graph runs this long after the broadcast was played, so libVLC already waits for its input.
constexpr unsigned kGraphRunDelayMs = 100;
// How many internal ports a start tries for its sink (the job's own, then the next ones the port
// counter gives) before it gives up: any other program may hold a port, another Framewick too.
constexpr int kMaxInternalPortAttempts = 20;
// The window watcher's pause between the stop and the new start.
constexpr unsigned kWindowRestartPauseMs = 1000;
constexpr uint32_t kWatchTimerIntervalMs = 1000;
constexpr uint32_t kHlsTimerIntervalMs = 1000;
// The message a job's stop-request target receives.
constexpr uint32_t kWmCaptureStopRequest = 0xB80F;

constexpr const char* kMonitorsChangedText = "capturing stoppd : number of monitors changed";

// What a job uses of the world outside it; DefaultScreenCaptureServices gives the real pieces.
struct TScreenCaptureServices {
    std::shared_ptr<IVlcApi> Vlc;
    TCaptureGraphFactory MakeGraph;
    TFtpMirrorFactory MakeFtpMirror;
    std::shared_ptr<ICaptureNotifier> Notifier;  // wmCaptureNotify to the main window; none: nothing is posted
    std::shared_ptr<engine::TLogList> LogList;      // where the workers' lines go
    TShareDefaults ShareDefaults;                // for the job's new shares
    TVlcPreferences VlcPreferences;              // the program's remembered libVLC choices
    std::function<int32_t()> NextInternalPort;   // ports for the sink; none: the program's port counter
};

// libVLC through the process-wide binding, the engine's capture graph (its build failures shown in
// errorBox), the FTP mirror, notifications to mainWindow, the program's log list, the port counter and
// share defaults from the settings; no stored libVLC preferences (the program adds its own).
TScreenCaptureServices DefaultScreenCaptureServices(int32_t captureIdx, platform::WindowHandle mainWindow,
                                                    std::shared_ptr<IErrorBox> errorBox = nullptr);

class TScreenCapture : public std::enable_shared_from_this<TScreenCapture> {
    struct PassKey {};

public:
    using TLogEvent = std::function<void(TScreenCapture& sender, const std::string& text, uint8_t level)>;
    using TRestartEvent = std::function<void(TScreenCapture& sender)>;

    // A job with default settings, no shares and the next internal port.
    static std::shared_ptr<TScreenCapture> Create(int32_t captureIdx, TScreenCaptureServices services);
    TScreenCapture(PassKey, int32_t captureIdx, TScreenCaptureServices services);
    // Stops the job, releases libVLC and ends the shares' workers.
    ~TScreenCapture();
    TScreenCapture(const TScreenCapture&) = delete;
    TScreenCapture& operator=(const TScreenCapture&) = delete;

    // Sets the stream name, checks the settings and, for the encoding methods, libVLC. The result is
    // whether libVLC could be used (always true for the "System" method).
    bool Prepare(int32_t streamNo);
    // The job's block of capture.xml (SCREENCAPTURE_PARAMS): loading replaces Params and, when the
    // block lists shares, the shares (bound again to their web servers through servers, may be null).
    void LoadFromXml(pugi::xml_node node, const IShareHttpServerList* servers);
    void SaveToXml(pugi::xml_node node) const;
    // True when the job runs afterwards (also when it already ran).
    bool Start();
    void Stop();

    const int32_t CaptureIdx;
    TScreenCaptureParams Params;  // the stored settings; what the job works out of them is Geometry
    // The job's shares, never null: the one list every check and every web-server lookup walks.
    const std::shared_ptr<TShareList> Streamers;
    int32_t InternalPort;                  // the sink's port; a start that finds it taken moves it on
    TLogEvent OnLog;                       // user-interface thread, level 2 or 4
    TRestartEvent OnRestart;               // after the window watcher restarted the job

    // The followed window, the capture rectangle and the picture sizes, as the job last worked them
    // out (Prepare finds the window, every Start and CalcCaptureRect compute the rest).
    const TCaptureGeometry& Geometry() const { return geometry_; }
    // Works the capture rectangle and the picture sizes out now, as a start does.
    void CalcCaptureRect();
    // Forgets the window followed so far and finds it again by the class and caption of Params (after
    // they were edited).
    void FindWindowAgain();
    // What runs for each share: its workers and the status tab its FTP mirror reports to.
    TShareRuns& ShareRuns() { return shareRuns_; }
    const TShareRuns& ShareRuns() const { return shareRuns_; }

    bool Started() const { return started_; }
    bool Prepared() const { return prepared_; }
    bool VlcOk() const { return vlcCheck_.VlcOk(); }
    const std::string& VlcVersionText() const { return vlcCheck_.VlcVersionText(); }
    const std::string& MediaName() const { return broadcast_.MediaName(); }
    const std::string& StreamName() const { return streamName_; }
    bool HasVlcInstance() const { return broadcast_.HasInstance(); }
    bool HasGraph() const { return graph_ != nullptr; }
    bool HlsTimerEnabled() const { return hlsTimer_.Enabled(); }
    bool HasWindowTimer() const { return windowTimer_ != nullptr; }
    bool HasMonitorTimer() const { return monitorTimer_ != nullptr; }
    int StartMonitorCount() const { return startMonitorCount_; }
    std::chrono::steady_clock::time_point StartTime() const { return startTime_; }

    // The target that other threads hand their stop requests to (see RequestCaptureStop).
    platform::WindowHandle StopRequestHandle() const { return stopTarget_.Handle(); }

private:
    enum class Operation { None, Starting, Stopping };

    bool CreateVlcInstance();
    // Steps of Start after the instance: graph, shares, broadcast, graph run. False on a failure.
    bool StartOutputs();
    bool BuildGraph();
    // Keeps the sink on a port of its own: InternalPort when the sink could have it, else the next
    // ports of the counter, up to kMaxInternalPortAttempts. False (logged) when none could be had.
    bool HoldSinkPort();
    // Ends the shares' workers, stops the broadcast (after the 3-second rule when waitForBroadcast),
    // releases libVLC and the graph and the watchers.
    void Teardown(bool waitForBroadcast);
    void CreateWatcher();
    void ReleaseTimer(std::unique_ptr<platform::TTimer>& timer);
    std::unique_ptr<platform::TTimer> MakeTimer(void (TScreenCapture::*tick)());
    // Runs a tick with the job kept alive; timers released inside it are freed after it returns.
    void RunTick(void (TScreenCapture::*tick)());

    void HlsTimerTick();
    void WindowTimerTick();
    void MonitorTimerTick();
    void Notify(intptr_t wParam);
    void Log(const std::string& text, uint8_t level);
    CaptureLog LogFunction();

    TScreenCaptureServices services_;
    TCaptureGeometry geometry_;
    TShareRuns shareRuns_;
    TVlcLibraryCheck vlcCheck_;
    TVlcBroadcast broadcast_;
    std::shared_ptr<ICaptureGraph> graph_;
    std::string streamName_;
    bool prepared_ = false;
    bool started_ = false;
    Operation operation_ = Operation::None;
    bool stopAfterStart_ = false;  // a stop asked for while the start was still running
    std::chrono::steady_clock::time_point startTime_{};
    int startMonitorCount_ = 0;

    platform::TTimer hlsTimer_;
    std::unique_ptr<platform::TTimer> windowTimer_;
    std::unique_ptr<platform::TTimer> monitorTimer_;
    int tickDepth_ = 0;
    std::vector<std::unique_ptr<platform::TTimer>> retiredTimers_;  // freed once the running tick returned
    platform::MessageTarget stopTarget_;
};

// Thread-safe: hands a stop to the job's own thread. False when no job has that handle any more.
bool RequestCaptureStop(platform::WindowHandle job);

}  // namespace engine
