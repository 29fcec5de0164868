#include "engine/capture/broadcast/VlcBroadcast.h"

#include "engine/capture/broadcast/DelayWithMessages.h"

namespace engine {

TVlcBroadcast::TVlcBroadcast(std::shared_ptr<IVlcApi> api, std::string mediaName, int32_t captureIdx, CaptureLog log)
    : api_(std::move(api)), mediaName_(std::move(mediaName)), captureIdx_(captureIdx), log_(std::move(log)) {}

TVlcBroadcast::~TVlcBroadcast() { ReleaseInstance(); }

bool TVlcBroadcast::CreateInstance(const std::vector<std::string>& args) {
    ReleaseInstance();
    instance_ = api_->NewInstance(args);
    if (instance_ == nullptr) Log("libVLC refused to create an instance", kLogLevelError);
    return instance_ != nullptr;
}

void TVlcBroadcast::ReleaseInstance() {
    if (instance_ == nullptr) return;
    StopAndDelete();
    api_->ReleaseInstance(instance_);
    instance_ = nullptr;
}

bool TVlcBroadcast::Play(const std::string& input, const std::string& output) {
    if (instance_ == nullptr || !api_->CanBroadcast()) {
        Log("no libVLC instance with a broadcast manager - broadcast not started", kLogLevelError);
        return false;
    }
    StopAndDelete();  // a broadcast left by a failed start
    if (api_->AddBroadcast(instance_, mediaName_, input, output) != 0) {
        Log("libVLC refused the broadcast " + output, kLogLevelError);
        return false;
    }
    mediaAdded_ = true;
    if (api_->PlayMedia(instance_, mediaName_) != 0) {
        Log("libVLC could not play the broadcast", kLogLevelError);
        return false;
    }
    for (unsigned waited = 0; waited < kBroadcastStartCheckMs; waited += kBroadcastStartPollMs) {
        DelayWithMessages(kBroadcastStartPollMs);
        if (api_->MediaInstanceRate(instance_, mediaName_) < 0) {
            Log("broadcast ended at once: its input " + input + " could not be read", kLogLevelError);
            return false;
        }
    }
    return true;
}

void TVlcBroadcast::Stop(std::chrono::steady_clock::time_point jobStart) {
    while (std::chrono::steady_clock::now() - jobStart < kMinBroadcastRunTime) DelayWithMessages(kBroadcastStopWaitStepMs);
    StopAndDelete();
}

void TVlcBroadcast::StopAndDelete() {
    if (!mediaAdded_ || instance_ == nullptr) return;
    api_->StopMedia(instance_, mediaName_);
    api_->DeleteMedia(instance_, mediaName_);
    mediaAdded_ = false;
}

void TVlcBroadcast::Log(const std::string& text, uint8_t level) const {
    if (log_) log_(CaptureLogPrefix(captureIdx_) + text, level);
}

}  // namespace engine
