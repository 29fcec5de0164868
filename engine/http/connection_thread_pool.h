// One thread per open connection. A thread whose connection ended waits for the next one while fewer
// than kMaxIdleThreads others wait; otherwise it ends. The number of connections is not limited, but
// the system's may be (a cap on tasks per user): a job that gets no thread is dropped at once.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace engine {

// One connection's work. Abort may be called from any thread while Run runs (or before it starts);
// Run then returns soon.
class IConnectionJob {
public:
    virtual ~IConnectionJob() = default;
    virtual void Run() = 0;
    virtual void Abort() = 0;
};

class TConnectionThreadPool {
public:
    static constexpr size_t kMaxIdleThreads = 50;

    TConnectionThreadPool() = default;
    ~TConnectionThreadPool();
    TConnectionThreadPool(const TConnectionThreadPool&) = delete;
    TConnectionThreadPool& operator=(const TConnectionThreadPool&) = delete;

    enum class TDispatchResult { Running, Stopping, NoThread };

    // Runs job on an idle thread or a new one. While the pool is stopping, or when no idle thread
    // waits and the system refuses a new one (*threadError then says why), the job is dropped before
    // this returns: nothing of it stays in the pool.
    TDispatchResult Dispatch(std::shared_ptr<IConnectionJob> job, std::string* threadError = nullptr);

    // Aborts every running job, ends every thread and waits for them; the pool can be used again.
    void Stop();

    size_t ThreadCount() const;
    size_t IdleThreadCount() const;

private:
    struct TWorker {
        std::thread Thread;
        std::shared_ptr<IConnectionJob> Job;
        std::condition_variable Wake;
        bool Finished = false;
    };

    void WorkerLoop(TWorker* worker);
    std::list<std::unique_ptr<TWorker>> TakeFinishedLocked();

    mutable std::mutex mutex_;
    std::list<std::unique_ptr<TWorker>> workers_;
    std::vector<TWorker*> idle_;
    std::vector<std::shared_ptr<IConnectionJob>> running_;
    bool stopping_ = false;
};

}  // namespace engine
