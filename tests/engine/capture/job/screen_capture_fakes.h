// Fakes for the capture-job tests: libVLC, the capture graph and the FTP mirror, all writing into one
// timed event list, so a test sees which calls came and in what order and at what time.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "engine/capture/job/CaptureGraph.h"
#include "engine/capture/job/FtpMirrorWorker.h"
#include "engine/capture/job/ScreenCapture.h"
#include "engine/vlc/VlcApi.h"
#include "tests/engine/capture/workers/image_thread_test_helpers.h"

namespace fw_test {

using Clock = std::chrono::steady_clock;

struct TEvent {
    std::string Name;
    Clock::time_point Time;
};

class EventLog {
public:
    void Add(const std::string& name) {
        std::lock_guard lock(mutex_);
        events_.push_back({name, Clock::now()});
    }
    std::vector<std::string> Names() const {
        std::lock_guard lock(mutex_);
        std::vector<std::string> names;
        for (const auto& e : events_) names.push_back(e.Name);
        return names;
    }
    int Count(const std::string& name) const {
        const auto names = Names();
        return static_cast<int>(std::count(names.begin(), names.end(), name));
    }
    // The time of the last event of that name (epoch when there was none).
    Clock::time_point Last(const std::string& name) const {
        std::lock_guard lock(mutex_);
        for (auto it = events_.rbegin(); it != events_.rend(); ++it)
            if (it->Name == name) return it->Time;
        return {};
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        events_.clear();
    }

private:
    mutable std::mutex mutex_;
    std::vector<TEvent> events_;
};

// libVLC's broadcast manager: instances are counted; add, play and the play rate can be made to fail.
class FakeVlcApi : public engine::IVlcApi {
public:
    explicit FakeVlcApi(std::shared_ptr<EventLog> log) : log_(std::move(log)) {}

    libvlc_instance_t* NewInstance(const std::vector<std::string>& args) override {
        lastArgs = args;
        if (failNew) return nullptr;
        log_->Add("vlc.new");
        ++liveInstances;
        return reinterpret_cast<libvlc_instance_t*>(&token_);
    }
    void ReleaseInstance(libvlc_instance_t*) override {
        log_->Add("vlc.release");
        --liveInstances;
    }
    bool CanBroadcast() const override { return true; }
    int AddBroadcast(libvlc_instance_t*, const std::string& name, const std::string& input, const std::string& output) override {
        log_->Add("vlc.add");
        if (onAdd) onAdd();
        lastName = name;
        lastInput = input;
        lastOutput = output;
        return addResult;
    }
    int PlayMedia(libvlc_instance_t*, const std::string&) override {
        log_->Add("vlc.play");
        return 0;
    }
    int StopMedia(libvlc_instance_t*, const std::string&) override {
        log_->Add("vlc.stop");
        stopThread = std::this_thread::get_id();
        return 0;
    }
    int DeleteMedia(libvlc_instance_t*, const std::string&) override {
        log_->Add("vlc.del");
        return 0;
    }
    int MediaInstanceRate(libvlc_instance_t*, const std::string&) override { return inputRuns ? 1 : -1; }

    std::function<void()> onAdd;  // runs inside AddBroadcast
    std::thread::id stopThread;
    bool failNew = false;
    int addResult = 0;
    bool inputRuns = true;  // false: the broadcast dies at once, as with a refused TCP input
    int liveInstances = 0;
    std::vector<std::string> lastArgs;
    std::string lastName, lastInput, lastOutput;

private:
    std::shared_ptr<EventLog> log_;
    char token_ = 0;
};

// The capture graph: records its calls; its pictures come from a fake source. Its sink listens on the
// port it is given unless another program holds that one (taken).
class FakeCaptureGraph : public engine::ICaptureGraph {
public:
    FakeCaptureGraph(std::shared_ptr<EventLog> log, bool initOk, bool runOk, int32_t port,
                     std::function<bool(int32_t)> taken)
        : log_(std::move(log)), initOk_(initOk), runOk_(runOk), taken_(std::move(taken)) {
        Bind(port);
    }
    bool Init() override {
        log_->Add("graph.init");
        return initOk_;
    }
    int32_t ListeningPort() override {
        log_->Add("graph.port");
        return listeningPort_;
    }
    bool ListenOn(int32_t port) override {
        log_->Add("graph.listen");
        Bind(port);
        return listeningPort_ == port;
    }
    bool Run() override {
        log_->Add("graph.run");
        return runOk_;
    }
    void Shutdown() override {
        if (shutDown_) return;
        shutDown_ = true;
        log_->Add("graph.shutdown");
    }
    std::shared_ptr<engine::ISnapshotSource> SnapshotSource() override { return source; }

    std::shared_ptr<FakeSnapshotSource> source = std::make_shared<FakeSnapshotSource>(TestPicture(64, 48));

private:
    void Bind(int32_t port) { listeningPort_ = taken_ && taken_(port) ? 0 : port; }

    std::shared_ptr<EventLog> log_;
    bool initOk_;
    bool runOk_;
    std::function<bool(int32_t)> taken_;
    int32_t listeningPort_ = 0;
    bool shutDown_ = false;
};

// Makes fake graphs and keeps what they were made from.
struct FakeGraphFactory {
    std::shared_ptr<EventLog> log;
    bool initOk = true;
    bool runOk = true;
    std::set<int32_t> takenPorts;  // held by another program
    bool everyPortTaken = false;
    std::vector<engine::TFgSpreadInputParams> inputs;
    std::shared_ptr<FakeCaptureGraph> last;

    static FakeGraphFactory With(std::shared_ptr<EventLog> events) {
        FakeGraphFactory f;
        f.log = std::move(events);
        return f;
    }

    engine::TCaptureGraphFactory Factory() {
        return [this](const engine::TFgSpreadInputParams& input, engine::TGraphLog) {
            inputs.push_back(input);
            const auto taken = [this](int32_t port) { return everyPortTaken || takenPorts.count(port) > 0; };
            last = std::make_shared<FakeCaptureGraph>(log, initOk, runOk, input.SinkPort, taken);
            return last;
        };
    }
};

// An FTP mirror that records the settings it was made with and when it goes.
class FakeMirror : public engine::IShareWorker {
public:
    FakeMirror(std::shared_ptr<EventLog> log, engine::TFtpUpdateSettings settings)
        : settings(std::move(settings)), log_(std::move(log)) {
        log_->Add("mirror.new");
    }
    ~FakeMirror() override { log_->Add("mirror.free"); }
    void RequestEnd() override {}
    const engine::TFtpUpdateSettings settings;

private:
    std::shared_ptr<EventLog> log_;
};

// What runs for a share in its job; an empty part when nothing ran for it.
inline const engine::TShareRun& RunOf(const engine::TScreenCapture& job, const engine::PCaptureStreamer& share) {
    static const engine::TShareRun nothingRuns;
    const engine::TShareRun* run = job.ShareRuns().Find(share);
    return run ? *run : nothingRuns;
}

}  // namespace fw_test
