// The archive thread: one pass of the archive guard per second at the lowest priority, from the end of
// start-up to the closing. Its owner only asks it to end; the thread frees what it holds when its
// loop ends, so nothing it uses can go away under it.
#pragma once

#include <chrono>
#include <memory>

#include "app/archive/ArchiveGuard.h"

namespace app {

constexpr std::chrono::milliseconds kArchivePassIntervalMs{1000};

class TArchiveThread {
public:
    // Starts the thread; the first pass runs at once.
    explicit TArchiveThread(std::shared_ptr<TArchiveGuard> guard,
                            std::chrono::milliseconds interval = kArchivePassIntervalMs);
    // Asks the thread to end (it is not waited for).
    ~TArchiveThread();
    TArchiveThread(const TArchiveThread&) = delete;
    TArchiveThread& operator=(const TArchiveThread&) = delete;

    // Asks the thread to end after its current pass; its sleep ends at once. Does not wait.
    void RequestStop();
    // Waits at most timeout for the loop to end; true when it has.
    bool WaitForEnd(std::chrono::milliseconds timeout);

    struct TState;

private:
    std::shared_ptr<TState> state_;
};

}  // namespace app
