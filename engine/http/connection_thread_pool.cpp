#include "engine/http/connection_thread_pool.h"

#include <algorithm>
#include <system_error>

namespace engine {

TConnectionThreadPool::~TConnectionThreadPool() { Stop(); }

std::list<std::unique_ptr<TConnectionThreadPool::TWorker>> TConnectionThreadPool::TakeFinishedLocked() {
    std::list<std::unique_ptr<TWorker>> finished;
    for (auto it = workers_.begin(); it != workers_.end();) {
        auto next = std::next(it);
        if ((*it)->Finished) finished.splice(finished.end(), workers_, it);
        it = next;
    }
    return finished;
}

TConnectionThreadPool::TDispatchResult TConnectionThreadPool::Dispatch(std::shared_ptr<IConnectionJob> job,
                                                                      std::string* threadError) {
    std::list<std::unique_ptr<TWorker>> finished;
    TDispatchResult result = TDispatchResult::Running;
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return TDispatchResult::Stopping;
        finished = TakeFinishedLocked();
        if (!idle_.empty()) {
            TWorker* worker = idle_.back();
            idle_.pop_back();
            running_.push_back(job);
            worker->Job = std::move(job);
            worker->Wake.notify_one();
        } else {
            auto worker = std::make_unique<TWorker>();
            TWorker* raw = worker.get();
            try {
                // The new thread waits for this lock, so it finds its job and its place in the pool.
                worker->Thread = std::thread([this, raw] { WorkerLoop(raw); });
                running_.push_back(job);
                worker->Job = std::move(job);
                workers_.push_back(std::move(worker));
            } catch (const std::system_error& e) {
                if (threadError) *threadError = e.what();
                result = TDispatchResult::NoThread;
            }
        }
    }
    job.reset();  // a job without a thread closes its connection here, outside the pool's lock
    // Finished threads have left the pool's lock for good; joining them is quick.
    for (auto& worker : finished) worker->Thread.join();
    return result;
}

void TConnectionThreadPool::WorkerLoop(TWorker* worker) {
    std::unique_lock lock(mutex_);
    for (;;) {
        std::shared_ptr<IConnectionJob> job = std::move(worker->Job);
        lock.unlock();
        job->Run();
        lock.lock();
        running_.erase(std::remove(running_.begin(), running_.end(), job), running_.end());
        lock.unlock();
        job.reset();  // closes the connection outside the pool's lock
        lock.lock();
        if (stopping_ || idle_.size() >= kMaxIdleThreads) break;
        idle_.push_back(worker);
        worker->Wake.wait(lock, [&] { return worker->Job || stopping_; });
        if (!worker->Job) break;
    }
    worker->Finished = true;
}

void TConnectionThreadPool::Stop() {
    std::list<std::unique_ptr<TWorker>> all;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        for (auto& job : running_) job->Abort();
        for (TWorker* worker : idle_) worker->Wake.notify_one();
        idle_.clear();
        all.swap(workers_);
    }
    for (auto& worker : all) {
        if (worker->Thread.joinable()) worker->Thread.join();
    }
    std::lock_guard lock(mutex_);
    stopping_ = false;
}

size_t TConnectionThreadPool::ThreadCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<size_t>(std::count_if(workers_.begin(), workers_.end(),
                                             [](const auto& w) { return !w->Finished; }));
}

size_t TConnectionThreadPool::IdleThreadCount() const {
    std::lock_guard lock(mutex_);
    return idle_.size();
}

}  // namespace engine
