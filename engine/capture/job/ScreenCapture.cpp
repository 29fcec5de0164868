#include "engine/capture/job/ScreenCapture.h"

#include <cstdio>
#include <exception>

#include "engine/capture/broadcast/CaptureBroadcast.h"
#include "engine/capture/job/CaptureGraphInput.h"
#include "engine/capture/broadcast/DelayWithMessages.h"
#include "engine/capture/settings/ScreenCaptureXml.h"
#include "engine/capture/broadcast/ShareChains.h"
#include "engine/capture/settings/ShareDefaultsFromSettings.h"
#include "engine/capture/job/ShareOutputs.h"
#include "engine/capture/broadcast/VlcArguments.h"
#include "engine/settings/counters.h"
#include "engine/settings/program_state.h"
#include "engine/settings/settings_store.h"
#include "engine/util/monitors.h"
#include "engine/vlc/BoundVlcApi.h"
#include "platform/ui/window_poster.h"

namespace engine {
namespace {

// "Quillmar_" + the millisecond tick count as 8 upper-case hexadecimal digits.
std::string NewMediaName() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(ms.count() & 0xFFFFFFFFu));
    return std::string("Quillmar_") + text;
}

// Marks the operation in progress for as long as it runs.
template <typename T>
class TScopedValue {
public:
    TScopedValue(T& target, T value) : target_(target), saved_(target) { target_ = value; }
    ~TScopedValue() { target_ = saved_; }
    TScopedValue(const TScopedValue&) = delete;
    TScopedValue& operator=(const TScopedValue&) = delete;

private:
    T& target_;
    T saved_;
};

int32_t TakeInternalPort(const std::function<int32_t()>& source) {
    return source ? source() : engine::NextInternalPort();
}

}  // namespace

TScreenCaptureServices DefaultScreenCaptureServices(int32_t captureIdx, platform::WindowHandle mainWindow,
                                                    std::shared_ptr<IErrorBox> errorBox) {
    TScreenCaptureServices s;
    s.Vlc = std::make_shared<BoundVlcApi>();
    s.MakeGraph = SpreadCaptureGraphFactory(std::move(errorBox));
    s.MakeFtpMirror = &MakeFtpMirror;
    s.Notifier = std::make_shared<platform::TWindowPoster>(mainWindow, kWmCaptureNotify);
    s.LogList = engine::LogList();
    s.ShareDefaults = ShareDefaultsFromSettings(captureIdx);
    s.NextInternalPort = &engine::NextInternalPort;
    return s;
}

std::shared_ptr<TScreenCapture> TScreenCapture::Create(int32_t captureIdx, TScreenCaptureServices services) {
    auto job = std::make_shared<TScreenCapture>(PassKey{}, captureIdx, std::move(services));
    std::weak_ptr<TScreenCapture> weak = job;
    job->hlsTimer_.SetOnTimer([weak] {
        if (const auto self = weak.lock()) self->RunTick(&TScreenCapture::HlsTimerTick);
    });
    return job;
}

TScreenCapture::TScreenCapture(PassKey, int32_t captureIdx, TScreenCaptureServices services)
    : CaptureIdx(captureIdx),
      Streamers(std::make_shared<TShareList>(services.ShareDefaults)),
      InternalPort(TakeInternalPort(services.NextInternalPort)),
      services_(std::move(services)),
      vlcCheck_(services_.VlcPreferences),
      broadcast_(services_.Vlc, NewMediaName(), captureIdx, [this](const std::string& text, uint8_t level) { Log(text, level); }),
      stopTarget_([this](uint32_t msg, intptr_t, intptr_t) {
          // Weak: a request that arrives while the job is being destroyed finds nothing to stop.
          if (msg != kWmCaptureStopRequest) return;
          if (const auto self = weak_from_this().lock()) self->Stop();
      }) {
    SetDefaultParams(Params);
    // A share deleted from the list, by an editor too, ends what runs for it at once.
    Streamers->SetOnDelete([this](const PCaptureStreamer& share) { shareRuns_.Forget(share); });
    hlsTimer_.SetEnabled(false);
    hlsTimer_.SetInterval(kHlsTimerIntervalMs);
}

TScreenCapture::~TScreenCapture() {
    // Events are gone with the owner: a stop inside destruction reports to nobody.
    OnLog = nullptr;
    OnRestart = nullptr;
    operation_ = Operation::None;
    Stop();
    broadcast_.ReleaseInstance();
    Streamers->ClearStreamers();
    Streamers->SetOnDelete(nullptr);  // the list may outlive the job
    hlsTimer_.SetEnabled(false);
}

bool TScreenCapture::Prepare(int32_t streamNo) {
    streamName_ = "stream_" + std::to_string(streamNo);
    UpdateWindowRect(Params.Window, geometry_.Window);
    CheckParams(Params, LogFunction());
    if (Params.capEncoder == kCapEncoderSystem) return true;
    if (vlcCheck_.CheckVlc(Params.capVlcLibPath)) prepared_ = CreateVlcInstance();
    return prepared_;
}

void TScreenCapture::LoadFromXml(pugi::xml_node node, const IShareHttpServerList* servers) {
    Params = LoadCaptureParamsFromXml(node, *Streamers, servers);
}

void TScreenCapture::SaveToXml(pugi::xml_node node) const { SaveCaptureParamsToXml(node, Params, *Streamers); }

void TScreenCapture::CalcCaptureRect() { engine::CalcCaptureRect(Params, geometry_, LogFunction()); }

void TScreenCapture::FindWindowAgain() {
    geometry_.Window.Handle = platform::kNoWindow;
    UpdateWindowRect(Params.Window, geometry_.Window);
}

bool TScreenCapture::CreateVlcInstance() {
    // A job that publishes dropped files gets an instance too, of the common arguments only; it never
    // adds a broadcast to it.
    if (engine::VlcMissing) return true;
    try {
        return broadcast_.CreateInstance(BuildVlcArguments(Params, geometry_));
    } catch (const std::exception& e) {
        Log(CaptureLogPrefix(CaptureIdx) + "libVLC instance: " + e.what(), kLogLevelError);
        return false;
    }
}

bool TScreenCapture::Start() {
    if (started_) return true;
    if (operation_ != Operation::None) {
        // Reached from an event handled inside this job's own start or stop.
        Log(CaptureLogPrefix(CaptureIdx) + "start ignored: the capture is still " +
                (operation_ == Operation::Starting ? "starting" : "stopping"),
            kLogLevelError);
        return false;
    }
    const auto keepAlive = weak_from_this().lock();
    bool result = false;
    {
        TScopedValue<Operation> busy(operation_, Operation::Starting);
        startMonitorCount_ = GetMonitorCount();
        CalcCaptureRect();
        if (!CreateVlcInstance()) return false;
        startTime_ = std::chrono::steady_clock::now();
        try {
            result = StartOutputs();
        } catch (const std::exception& e) {
            Log(CaptureLogPrefix(CaptureIdx) + "start failed: " + e.what(), kLogLevelError);
        } catch (...) {
            Log(CaptureLogPrefix(CaptureIdx) + "start failed", kLogLevelError);
        }
        // A failed start leaves nothing running: Stop would not undo it, as the job never started.
        if (!result) Teardown(false);
        if (result) CreateWatcher();
        started_ = result;
        startTime_ = std::chrono::steady_clock::now();
    }
    if (stopAfterStart_) {
        stopAfterStart_ = false;
        Stop();
    }
    return started_;
}

bool TScreenCapture::BuildGraph() {
    if (graph_) graph_->Shutdown();
    graph_.reset();
    if (!services_.MakeGraph) return false;
    const auto settings = engine::Settings();
    const std::string prefix = CaptureLogPrefix(CaptureIdx);
    std::weak_ptr<TScreenCapture> weak = weak_from_this();
    const TFgSpreadInputParams input = BuildCaptureGraphInput(Params, geometry_, Streamers->Items(), InternalPort,
                                                              settings->DefFps);
    graph_ = services_.MakeGraph(input, [weak, prefix](const std::string& text) {
        if (const auto self = weak.lock()) self->Log(prefix + text, kLogLevelInfo);
    });
    if (!graph_ || !graph_->Init()) {
        Log(prefix + "the capture graph could not be built - capture not started", kLogLevelError);
        return false;
    }
    return HoldSinkPort();
}

// libVLC connects once, at play, to whatever listens on the port: only the sink's own word that it
// listens there tells the job's sink from another program's listener.
bool TScreenCapture::HoldSinkPort() {
    const std::string prefix = CaptureLogPrefix(CaptureIdx);
    for (int attempt = 1; graph_->ListeningPort() != InternalPort; ++attempt) {
        if (attempt == kMaxInternalPortAttempts) {
            Log(prefix + "no internal port can be had (" + std::to_string(attempt) + " ports tried, the last " +
                    std::to_string(InternalPort) + ") - capture not started",
                kLogLevelError);
            return false;
        }
        const int32_t taken = InternalPort;
        InternalPort = TakeInternalPort(services_.NextInternalPort);
        Log(prefix + "internal port " + std::to_string(taken) + " cannot be had - the capture takes port " +
                std::to_string(InternalPort),
            kLogLevelInfo);
        graph_->ListenOn(InternalPort);
    }
    return true;
}

bool TScreenCapture::StartOutputs() {
    if (const std::string refusal = WindowCaptureRefusal(Params, geometry_.Window); !refusal.empty()) {
        Log(CaptureLogPrefix(CaptureIdx) + refusal + " - capture not started", kLogLevelError);
        return false;
    }
    const bool graphMethod = Params.capEncoder == kCapEncoderDirectX;
    if (graphMethod && !BuildGraph()) return false;

    const auto settings = engine::Settings();
    const std::vector<PCaptureStreamer>& shares = Streamers->Items();
    const TChainSettings chainSettings{CaptureIdx, streamName_, settings->SegLen, settings->NumSeg};
    ClaimShareFolders(shares);
    TShareChains chains;
    if (Params.capEncoder != kCapEncoderSystem) {
        chains = BuildShareChains(shares, chainSettings, LogFunction());  // normalises FtpHostDir too
    } else {
        for (const PCaptureStreamer& share : shares)
            if (IsVisitedShare(*share)) NormaliseFtpHostDir(share->FtpHostDir);
    }

    TShareOutputContext context;
    context.CaptureIdx = CaptureIdx;
    context.StreamName = streamName_;
    context.ArchiveDir = settings->ArchiveDir;
    context.Graph = graphMethod && graph_ ? graph_->SnapshotSource() : nullptr;
    context.Notifier = services_.Notifier;
    context.LogList = services_.LogList;
    context.MakeFtpMirror = services_.MakeFtpMirror;
    context.Log = LogFunction();
    StartShareOutputs(shares, Params, context, shareRuns_);

    const TBroadcastStepResult step =
        PlayShareChains(broadcast_, Params, std::move(chains), chainSettings, InternalPort, LogFunction());
    if (!step.Ok) return false;

    if (graphMethod) {
        DelayWithMessages(kGraphRunDelayMs);
        if (!graph_ || !graph_->Run()) {
            Log(CaptureLogPrefix(CaptureIdx) + "the capture graph does not run - capture not started", kLogLevelError);
            return false;
        }
    }
    if (step.HasChains) {
        // The video indicators light only for a broadcast that really plays.
        for (size_t i = 0; i < step.HlsShares.size(); ++i) Notify(kCnVideoData);
        hlsTimer_.SetEnabled(true);
    }
    return true;
}

void TScreenCapture::Stop() {
    if (operation_ == Operation::Starting) {
        stopAfterStart_ = true;  // the start in progress stops the job once it is done
        return;
    }
    if (!started_ || operation_ == Operation::Stopping) return;
    const auto keepAlive = weak_from_this().lock();
    TScopedValue<Operation> busy(operation_, Operation::Stopping);
    Teardown(true);
    started_ = false;
}

void TScreenCapture::Teardown(bool waitForBroadcast) {
    // The watchers go first: the wait for libVLC below processes events, their ticks included.
    ReleaseTimer(windowTimer_);
    ReleaseTimer(monitorTimer_);
    hlsTimer_.SetEnabled(false);
    // libVLC goes before the workers: an ending snapshot thread deletes its share folder, which the
    // HLS output would otherwise go on writing into until the broadcast stops.
    if (Params.capEncoder != kCapEncoderSystem && waitForBroadcast) broadcast_.Stop(startTime_);
    // Every start makes a fresh instance, so none is kept between runs.
    broadcast_.ReleaseInstance();
    shareRuns_.EndAllWorkers();
    if (graph_) {
        graph_->Shutdown();  // the sink frees the internal port; snapshot threads keep only the shell
        graph_.reset();
    }
}

void TScreenCapture::CreateWatcher() {
    if (Params.capKind == kCapKindWindow)
        windowTimer_ = MakeTimer(&TScreenCapture::WindowTimerTick);
    else
        monitorTimer_ = MakeTimer(&TScreenCapture::MonitorTimerTick);
}

std::unique_ptr<platform::TTimer> TScreenCapture::MakeTimer(void (TScreenCapture::*tick)()) {
    auto timer = std::make_unique<platform::TTimer>();
    timer->SetInterval(kWatchTimerIntervalMs);
    std::weak_ptr<TScreenCapture> weak = weak_from_this();
    timer->SetOnTimer([weak, tick] {
        if (const auto self = weak.lock()) self->RunTick(tick);
    });
    timer->SetEnabled(true);
    return timer;
}

void TScreenCapture::ReleaseTimer(std::unique_ptr<platform::TTimer>& timer) {
    if (!timer) return;
    timer->SetEnabled(false);
    if (tickDepth_ > 0)
        retiredTimers_.push_back(std::move(timer));
    else
        timer.reset();
}

void TScreenCapture::RunTick(void (TScreenCapture::*tick)()) {
    const auto keepAlive = weak_from_this().lock();
    ++tickDepth_;
    try {
        (this->*tick)();
    } catch (const std::exception& e) {
        Log(CaptureLogPrefix(CaptureIdx) + "timer: " + e.what(), kLogLevelError);
    }
    if (--tickDepth_ == 0) retiredTimers_.clear();
}

void TScreenCapture::HlsTimerTick() { Notify(kCnVideoData); }

void TScreenCapture::WindowTimerTick() {
    if (!started_ || operation_ != Operation::None) return;
    const bool same = UpdateWindowRect(Params.Window, geometry_.Window, LogFunction());
    if (const std::string refusal = WindowCaptureRefusal(Params, geometry_.Window); !refusal.empty()) {
        Stop();
        Log(CaptureLogPrefix(CaptureIdx) + refusal + " - capture stopped", kLogLevelError);
        return;
    }
    if (same) return;
    Stop();
    DelayWithMessages(kWindowRestartPauseMs);
    Start();
    if (OnRestart) OnRestart(*this);
}

void TScreenCapture::MonitorTimerTick() {
    if (!started_ || operation_ != Operation::None || GetMonitorCount() == startMonitorCount_) return;
    Stop();
    Log(kMonitorsChangedText, kLogLevelError);
}

void TScreenCapture::Notify(intptr_t wParam) {
    if (services_.Notifier) services_.Notifier->Post(wParam, 0);
}

void TScreenCapture::Log(const std::string& text, uint8_t level) {
    if (OnLog) OnLog(*this, text, level);
}

CaptureLog TScreenCapture::LogFunction() {
    return [this](const std::string& text, uint8_t level) { Log(text, level); };
}

bool RequestCaptureStop(platform::WindowHandle job) {
    return platform::PostMessage(job, kWmCaptureStopRequest, 0, 0);
}

}  // namespace engine
