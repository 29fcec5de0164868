#include "installer/InstallerThread.h"

#include <sys/resource.h>
#include <unistd.h>

#include <exception>
#include <system_error>
#include <thread>

#include "installer/InstallerLog.h"

namespace hollarin {

bool StartSelfFreeingThread(std::function<void()> body, int niceValue) {
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
        }).detach();
        return true;
    } catch (const std::system_error& ex) {
        InstallerLog("thread", std::string("cannot start a thread: ") + ex.what());
        return false;
    }
}

}  // namespace hollarin
