#include "engine/ftp/ftp_update_thread.h"

#include <chrono>

#include "engine/ftp/curl_ftp_session.h"
#include "engine/ftp/ftp_mirror_cycle.h"
#include "engine/settings/program_state.h"

namespace engine {

TFtpUpdateThread::TFtpUpdateThread(const TFtpUpdateSettings& settings, int ftpDelayS,
                                   std::shared_ptr<FtpNotifier> notifier)
    : control_(std::make_shared<Control>()), thread_(Execute, control_, settings, ftpDelayS, std::move(notifier)) {}

TFtpUpdateThread::~TFtpUpdateThread() {
    {
        std::lock_guard lock(control_->mutex);
        control_->endRequested = true;
    }
    control_->stopCalls->Request();
    control_->wake.notify_all();
    thread_.join();
}

void TFtpUpdateThread::Execute(std::shared_ptr<Control> control, TFtpUpdateSettings settings, int ftpDelayS,
                               std::shared_ptr<FtpNotifier> notifier) {
    try {
        RunMirror(*control, settings, ftpDelayS, std::move(notifier));
    } catch (...) {
        // Nothing may leave a thread; the cycles catch their own failures, so only set-up lands here.
    }
}

void TFtpUpdateThread::RunMirror(Control& control, const TFtpUpdateSettings& settings, int ftpDelayS,
                                 std::shared_ptr<FtpNotifier> notifier) {
    using Clock = FtpMirrorCycle::Clock;
    const auto start = Clock::now();
    auto session = std::make_unique<CurlFtpSession>(FtpLogin{settings.Host, settings.User, settings.Password},
                                                    control.stopCalls);
    FtpMirrorCycle cycle(settings, std::move(session), notifier, start);
    std::unique_lock lock(control.mutex);
    while (!control.endRequested) {
        lock.unlock();
        const auto cycleStart = Clock::now();
        if (std::chrono::duration_cast<std::chrono::seconds>(cycleStart - start).count() > ftpDelayS) {
            cycle.Run(cycleStart);
        }
        const auto took = Clock::now() - cycleStart;
        const auto pause = took <= std::chrono::milliseconds(kCycleIntervalMs) ? std::chrono::milliseconds(kCycleIntervalMs)
                                                                               : std::chrono::milliseconds(kBusyPauseMs);
        lock.lock();
        control.wake.wait_for(lock, pause, [&] { return control.endRequested; });
    }
    lock.unlock();
    // The stop ended the cycle; the last calls run with short waits of their own.
    control.stopCalls->Clear();
    // While the program closes the server is left alone.
    if (!engine::AppClosing.load()) cycle.Finish(settings.DeleteHostDir);
}

}  // namespace engine
