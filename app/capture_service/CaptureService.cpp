#include "app/capture_service/CaptureService.h"

#include <chrono>

#include "app/lists/capture_list_entry.h"
#include "engine/capture/job/ScreenCapture.h"
#include "engine/settings/program_state.h"

namespace app {

namespace {

// The wait window stays up while a start or stop runs, however it ends. Not for the closing's stops: it
// disables and repaints the whole main window and stays its minimum time, once per capture service.
class TWaitWindow {
public:
    explicit TWaitWindow(const TCaptureServiceHooks& hooks)
        : close_(engine::AppClosing ? nullptr : hooks.CloseWaitForm) {
        if (!engine::AppClosing && hooks.ShowWaitForm) hooks.ShowWaitForm();
    }
    ~TWaitWindow() {
        if (close_) close_();
    }
    TWaitWindow(const TWaitWindow&) = delete;
    TWaitWindow& operator=(const TWaitWindow&) = delete;

private:
    std::function<void()> close_;  // a copy: the service may be let go of while the window is up
};

}  // namespace

TCaptureService::TCaptureService(TCaptureListEntry& entry, TCaptureServiceHooks hooks)
    : entry_(&entry), hooks_(std::move(hooks)) {}

std::shared_ptr<engine::TScreenCapture> TCaptureService::Capture() const {
    return entry_ ? entry_->Capture : nullptr;
}

void TCaptureService::RemoveView(const ICaptureServiceView* view) {
    if (view_ == view) view_ = nullptr;
}

void TCaptureService::StartStop(bool start) {
    const TWaitWindow wait(hooks_);
    const std::shared_ptr<engine::TScreenCapture> capture = Capture();
    if (!capture) return;
    // The job's start and stop wait with events running: this service lives on until they return.
    const std::shared_ptr<TCaptureService> self = shared_from_this();
    entry_->StartTime = std::chrono::system_clock::now();
    if (start) Start(*capture);
    else Stop(*capture);
    if (entry_) Tell(TCaptureServiceChange::Done);
}

void TCaptureService::Start(engine::TScreenCapture& capture) {
    if (state_ == TState::Off) state_ = TState::On;
    Tell(TCaptureServiceChange::Starting);
    const bool started = capture.Start();
    if (!entry_) return;
    if (started) state_ = TState::Running;
    else Tell(TCaptureServiceChange::StartFailed);
    StartAudio();
}

void TCaptureService::Stop(engine::TScreenCapture& capture) {
    capture.Stop();
    if (!entry_) return;
    state_ = TState::Off;
    Tell(TCaptureServiceChange::Stopped);
    StopAudio();
}

void TCaptureService::StartAudio() {
    const auto webSocket = entry_->WebSocket.lock();
    if (!webSocket || !entry_->WebSocketAct || !webSocket->Active || !webSocket->Graph) return;
    webSocket->Graph->SetParams({webSocket->Addr, webSocket->Port, false});
    if (webSocket->Graph->Init()) webSocket->Graph->Run();
}

void TCaptureService::StopAudio() {
    if (const auto webSocket = entry_->WebSocket.lock(); webSocket && webSocket->Graph) webSocket->Graph->Stop();
}

void TCaptureService::StopJob() {
    if (const std::shared_ptr<engine::TScreenCapture> capture = Capture()) capture->Stop();
}

void TCaptureService::StartJob() {
    if (const std::shared_ptr<engine::TScreenCapture> capture = Capture()) capture->Start();
}

void TCaptureService::Tell(TCaptureServiceChange change) {
    if (view_) view_->CaptureServiceChanged(change);
}

}  // namespace app
