#include "app/archive/ArchiveThread.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "app/log/LogQueue.h"
#include "platform/thread/ThreadPriority.h"

namespace app {

struct TArchiveThread::TState {
    std::shared_ptr<TArchiveGuard> Guard;
    std::chrono::milliseconds Interval;
    std::mutex Mutex;
    std::condition_variable Wake;
    bool StopRequested = false;
    bool Ended = false;
};

namespace {

void RunLoop(const std::shared_ptr<TArchiveThread::TState>& state) {
    platform::SetThisThreadLowestPriority();
    std::unique_lock lock(state->Mutex);
    while (!state->StopRequested) {
        lock.unlock();
        state->Guard->RunPass();
        lock.lock();
        state->Wake.wait_for(lock, state->Interval, [&] { return state->StopRequested; });
    }
    state->Ended = true;
    state->Guard.reset();  // the host and the queries go now, not with the last handle
    state->Wake.notify_all();
}

}  // namespace

TArchiveThread::TArchiveThread(std::shared_ptr<TArchiveGuard> guard, std::chrono::milliseconds interval)
    : state_(std::make_shared<TState>()) {
    state_->Guard = std::move(guard);
    state_->Interval = interval;
    try {
        std::thread([state = state_] { RunLoop(state); }).detach();
    } catch (const std::system_error& e) {
        QueueLogEntry(*engine::LogList(), std::string("[archive] thread cannot start : ") + e.what(), engine::kLogError);
        state_->Ended = true;
        state_->Guard.reset();
    }
}

TArchiveThread::~TArchiveThread() { RequestStop(); }

void TArchiveThread::RequestStop() {
    std::lock_guard lock(state_->Mutex);
    state_->StopRequested = true;
    state_->Wake.notify_all();
}

bool TArchiveThread::WaitForEnd(std::chrono::milliseconds timeout) {
    std::unique_lock lock(state_->Mutex);
    return state_->Wake.wait_for(lock, timeout, [&] { return state_->Ended; });
}

}  // namespace app
