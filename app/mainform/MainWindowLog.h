// The main window's log: what the window writes goes to the log window when there is one (which then
// keeps the program's log: level switches, its lines and the daily file), else into a log of its own;
// the queue that other threads and the filter layer fill is drained into it once a second.
//
// User-interface thread only; other threads queue (QueueLogEntry).
#pragma once

#include <QTimer>
#include <memory>
#include <string>

#include "app/log/FilterLogQueue.h"
#include "app/log/LogQueue.h"
#include "app/log/MainLog.h"

namespace app {

inline constexpr int kLogTimerMs = 1000;

class TMainWindowLog {
public:
    // logWindow: none: the window keeps the log itself (Own).
    explicit TMainWindowLog(TLogWriter logWindow);

    void Write(const std::string& text, uint8_t level);
    // Write, for those that report through a writer.
    TLogWriter Writer();
    const TMainLog& Own() const { return own_; }

    // From now on the queue is drained once a second and the filter layer's lines are queued.
    void StartDraining();
    void StopDraining();
    // Writes what is queued now, also while the program is closing.
    void WriteQueued();

private:
    TLogWriter logWindow_;
    TMainLog own_;
    QTimer timer_;
    std::unique_ptr<TFilterLogQueue> filterLog_;
};

}  // namespace app
