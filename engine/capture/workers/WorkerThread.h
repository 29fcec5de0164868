// The self-freeing worker thread of a share (snapshot thread, file-drop thread). The thread and its
// owner share the worker object: the thread keeps it alive until its body has returned, the owner asks
// it to end and forgets it without waiting. The thread runs at the lowest scheduling priority.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "engine/capture/settings/ShareWorker.h"

namespace engine {

class TWorkerThread : public IShareWorker {
public:
    ~TWorkerThread() override = default;

    // Asks the thread to end; a pause in progress returns at once. Never waits.
    void RequestEnd() override;
    bool EndRequested() const;
    // True once the thread's body has returned.
    bool Ended() const { return ended_.load(); }

    // Worker threads of this process whose body has not returned yet (the program's close, tests).
    static int RunningCount() { return running_.load(); }

protected:
    // Starts the thread of self; the thread holds self until Execute has returned.
    static void Launch(const std::shared_ptr<TWorkerThread>& self);
    // The thread's body. Nothing may escape it; a stray exception only ends the thread.
    virtual void Execute() = 0;
    // Waits for duration or until the end is asked; false when the end was asked.
    bool Pause(std::chrono::milliseconds duration);

private:
    static void Run(std::shared_ptr<TWorkerThread> self);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool endRequested_ = false;
    std::atomic<bool> ended_{false};
    static inline std::atomic<int> running_{0};
};

}  // namespace engine
