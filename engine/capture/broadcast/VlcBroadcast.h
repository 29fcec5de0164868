// A capture job's libVLC instance and its one broadcast (VLM media named after the job): created,
// added and played by the job's start, stopped and deleted by its stop, released when the job goes
// or makes a new instance. User-interface thread only.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "engine/capture/settings/CaptureLog.h"
#include "engine/vlc/VlcApi.h"

namespace engine {

// libVLC must not be stopped earlier than this after the job's start.
constexpr std::chrono::milliseconds kMinBroadcastRunTime{3000};
constexpr unsigned kBroadcastStopWaitStepMs = 1000;
// play answers success even when the input fails at once ("Connection refused"); the broadcast
// must still have a running instance this long after play.
constexpr unsigned kBroadcastStartCheckMs = 300;
constexpr unsigned kBroadcastStartPollMs = 50;

class TVlcBroadcast {
public:
    TVlcBroadcast(std::shared_ptr<IVlcApi> api, std::string mediaName, int32_t captureIdx, CaptureLog log);
    ~TVlcBroadcast();
    TVlcBroadcast(const TVlcBroadcast&) = delete;
    TVlcBroadcast& operator=(const TVlcBroadcast&) = delete;

    // Releases an existing instance first; true when libVLC accepted the arguments.
    bool CreateInstance(const std::vector<std::string>& args);
    // Deletes the broadcast when there is one and releases the instance.
    void ReleaseInstance();
    bool HasInstance() const { return instance_ != nullptr; }
    bool HasMedia() const { return mediaAdded_; }
    const std::string& MediaName() const { return mediaName_; }

    // Adds the broadcast (no options, enabled, no loop) and plays it; true when both succeeded and
    // the broadcast still runs kBroadcastStartCheckMs later. Failures are logged.
    bool Play(const std::string& input, const std::string& output);
    // Waits (processing events) until kMinBroadcastRunTime has passed since jobStart, then stops and
    // deletes the broadcast when there is one. The instance stays.
    void Stop(std::chrono::steady_clock::time_point jobStart);

private:
    void StopAndDelete();
    void Log(const std::string& text, uint8_t level) const;

    std::shared_ptr<IVlcApi> api_;
    std::string mediaName_;
    int32_t captureIdx_;
    CaptureLog log_;
    libvlc_instance_t* instance_ = nullptr;
    bool mediaAdded_ = false;
};

}  // namespace engine
