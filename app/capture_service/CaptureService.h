// One capture service's start and stop, without widgets: its capture job, the audio of its web socket,
// its start time (the entry's StartTime, which only this class writes) and its running state. Every
// start and stop of a service goes through here: the capture panel's buttons, start-all and stop-all,
// the settings dialog's restart, the auto-start, the closing; the guards that stop the job alone (the
// disk guard, the FTP mirror's slow uploads) too.
//
// The panel that shows the service is its view: the service tells it of each change of its state by
// calling it (ICaptureServiceView) directly, on this thread, at the moment the change happens, as the
// main window calls the parts it holds. A service without a panel runs all the same.
//
// The job's start and stop wait with events running, so the entry may be freed (Detach) and the panel
// freed (its view taken away) meanwhile. The service is held through std::shared_ptr: a start or stop
// keeps it alive until it returns, and does nothing more once the entry has gone.
//
// User-interface thread only.
#pragma once

#include <functional>
#include <memory>

namespace engine {
class TScreenCapture;
}

namespace app {

struct TCaptureListEntry;

// The changes a capture service tells its panel of, in the order they happen.
enum class TCaptureServiceChange {
    Starting,     // switched on, the start time set; the job starts next
    StartFailed,  // the job did not start
    Stopped,      // switched off, the start time set; the job has stopped
    Done,         // the start or stop is over, the web socket's audio included
};

class ICaptureServiceView {
public:
    virtual ~ICaptureServiceView() = default;
    virtual void CaptureServiceChanged(TCaptureServiceChange change) = 0;
};

// The wait window shown while a start or stop runs (not while the program closes); empty: none.
struct TCaptureServiceHooks {
    std::function<void()> ShowWaitForm;
    std::function<void()> CloseWaitForm;
};

class TCaptureService : public std::enable_shared_from_this<TCaptureService> {
public:
    TCaptureService(TCaptureListEntry& entry, TCaptureServiceHooks hooks);
    TCaptureService(const TCaptureService&) = delete;
    TCaptureService& operator=(const TCaptureService&) = delete;

    // The entry and its job; none once the entry has gone.
    TCaptureListEntry* Entry() const { return entry_; }
    std::shared_ptr<engine::TScreenCapture> Capture() const;
    // The entry is being freed: the service no longer touches it, and a start or stop still waiting
    // ends without a further step.
    void Detach() { entry_ = nullptr; }

    // The panel that shows the service; a panel going away takes itself off (RemoveView).
    void SetView(ICaptureServiceView* view) { view_ = view; }
    void RemoveView(const ICaptureServiceView* view);

    // Starts the job and then the web socket's audio, or stops the job and then the audio, under the
    // wait window. A start switches the service on whether or not the job starts; a stop switches it
    // off. Both set the start time, also a stop of a stopped service.
    void StartStop(bool start);

    // A guard stops the job alone, and the FTP mirror's restart starts it again later (its result is
    // not used): the running state, the start time, the audio and the panel stay as they are.
    void StopJob();
    void StartJob();

    // From a start until the next stop, whether or not the job started: the panel's running lamp.
    bool SwitchedOn() const { return state_ != TState::Off; }
    // From a start whose job started until the next stop (a failed start leaves it as it was): what the
    // status bar's capture lamp and the keep-awake timer ask, and what lets an FTP error show.
    bool Running() const { return state_ == TState::Running; }

private:
    // On: switched on, the job starting or not started.
    enum class TState { Off, On, Running };

    void Start(engine::TScreenCapture& capture);
    void Stop(engine::TScreenCapture& capture);
    void StartAudio();
    void StopAudio();
    void Tell(TCaptureServiceChange change);

    TCaptureListEntry* entry_;
    TCaptureServiceHooks hooks_;
    ICaptureServiceView* view_ = nullptr;
    TState state_ = TState::Off;
};

}  // namespace app
