#include "engine/capture/workers/WorkerThread.h"

#include <thread>

#include "platform/thread/ThreadPriority.h"

namespace engine {

void TWorkerThread::RequestEnd() {
    {
        std::lock_guard lock(mutex_);
        endRequested_ = true;
    }
    wake_.notify_all();
}

bool TWorkerThread::EndRequested() const {
    std::lock_guard lock(mutex_);
    return endRequested_;
}

bool TWorkerThread::Pause(std::chrono::milliseconds duration) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, duration, [this] { return endRequested_; });
    return !endRequested_;
}

void TWorkerThread::Launch(const std::shared_ptr<TWorkerThread>& self) {
    ++running_;
    try {
        std::thread(&TWorkerThread::Run, self).detach();
    } catch (...) {
        // No thread could be made: the worker counts as ended at once.
        self->ended_ = true;
        --running_;
    }
}

void TWorkerThread::Run(std::shared_ptr<TWorkerThread> self) {
    platform::SetThisThreadLowestPriority();
    try {
        self->Execute();
    } catch (...) {
    }
    self->ended_ = true;
    self.reset();  // the last owner frees the worker here, on its own thread
    --running_;
}

}  // namespace engine
