#include "app/mainform/MainWindowLog.h"

namespace app {

TMainWindowLog::TMainWindowLog(TLogWriter logWindow) : logWindow_(std::move(logWindow)) {
    timer_.setInterval(kLogTimerMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { DrainLogQueue(*engine::LogList(), Writer()); });
}

void TMainWindowLog::Write(const std::string& text, uint8_t level) {
    if (logWindow_) logWindow_(text, level);
    else own_.WriteLog(text, level);
}

TLogWriter TMainWindowLog::Writer() {
    return [this](const std::string& text, uint8_t level) { Write(text, level); };
}

void TMainWindowLog::StartDraining() {
    timer_.start();
    filterLog_ = std::make_unique<TFilterLogQueue>(engine::LogList());
}

void TMainWindowLog::StopDraining() { timer_.stop(); }

void TMainWindowLog::WriteQueued() { WriteQueuedLog(*engine::LogList(), Writer()); }

}  // namespace app
