#include "installer/InstallerThread.h"

#include <sys/resource.h>
#include <unistd.h>

#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

#include "installer/InstallerLog.h"

namespace hollarin {
namespace {

struct TRunningThreads {
    std::mutex mutex;
    std::condition_variable none;
    int count = 0;
};

// Never destroyed: a thread that outlives a time-out may still count itself off while the process
// ends.
TRunningThreads& Running() {
    static TRunningThreads* running = new TRunningThreads;
    return *running;
}

void CountOff() {
    TRunningThreads& running = Running();
    std::lock_guard lock(running.mutex);
    // Notified under the lock: the waiter cannot return (and the process end) before this is done.
    if (--running.count == 0) running.none.notify_all();
}

}  // namespace

bool StartSelfFreeingThread(std::function<void()> body, int niceValue) {
    {
        std::lock_guard lock(Running().mutex);
        ++Running().count;
    }
    try {
        std::thread([body = std::move(body), niceValue]() mutable {
            // On Linux the nice value belongs to the thread; a failure leaves the normal priority.
            ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), niceValue);
            try {
                body();
            } catch (const std::exception& ex) {
                InstallerLog("thread", std::string("ended by an error: ") + ex.what());
            } catch (...) {
                InstallerLog("thread", "ended by an unknown error");
            }
            body = nullptr;  // the job's last reference may go here, on this thread
            CountOff();
        }).detach();
        return true;
    } catch (const std::system_error& ex) {
        CountOff();
        InstallerLog("thread", std::string("cannot start a thread: ") + ex.what());
        return false;
    }
}

bool WaitForSelfFreeingThreads(std::chrono::milliseconds timeout) {
    TRunningThreads& running = Running();
    std::unique_lock lock(running.mutex);
    return running.none.wait_for(lock, timeout, [&] { return running.count == 0; });
}

}  // namespace hollarin
