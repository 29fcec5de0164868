// The mirror thread of one share: idles FtpDelay seconds, then runs a mirror cycle about once a
// second until its owner asks it to end. The owner waits for it; a stop also ends the call the
// thread is in at once, and the last clearing of the server waits at most about a second for any
// answer, so a dead or stalled server never holds the owner up for long.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/ftp/ftp_call_stop.h"
#include "engine/ftp/ftp_notify.h"
#include "engine/ftp/ftp_update_settings.h"

namespace engine {

class TFtpUpdateThread {
public:
    static constexpr int kCycleIntervalMs = 1000;  // pause after a cycle that took up to a second
    static constexpr int kBusyPauseMs = 10;        // pause after a longer cycle

    // Starts the thread at once; its first cycle comes once more than ftpDelayS seconds have passed.
    TFtpUpdateThread(const TFtpUpdateSettings& settings, int ftpDelayS, std::shared_ptr<FtpNotifier> notifier);
    // Asks the thread to end and waits for it, including its last clearing of the remote folder.
    ~TFtpUpdateThread();
    TFtpUpdateThread(const TFtpUpdateThread&) = delete;
    TFtpUpdateThread& operator=(const TFtpUpdateThread&) = delete;

private:
    struct Control {
        std::mutex mutex;
        std::condition_variable wake;
        bool endRequested = false;
        std::shared_ptr<FtpCallStop> stopCalls = std::make_shared<FtpCallStop>();
    };

    static void Execute(std::shared_ptr<Control> control, TFtpUpdateSettings settings, int ftpDelayS,
                        std::shared_ptr<FtpNotifier> notifier);
    static void RunMirror(Control& control, const TFtpUpdateSettings& settings, int ftpDelayS,
                          std::shared_ptr<FtpNotifier> notifier);

    std::shared_ptr<Control> control_;
    std::thread thread_;
};

}  // namespace engine
