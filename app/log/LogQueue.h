// The main window's log queue: any thread queues, the user-interface thread drains once a second.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/settings/log_list.h"

namespace app {

// Appends an entry unless kMaxQueuedLogEntries are pending already (then it is dropped: false).
bool QueueLogEntry(engine::TLogList& list, const std::string& text, uint8_t level,
                   std::chrono::system_clock::time_point time = std::chrono::system_clock::now());

// Where the drained entries go (the main window's WriteLog).
using TLogWriter = std::function<void(const std::string& text, uint8_t level)>;

// Writes every pending entry, oldest first, through write and removes it. The lines are stamped with
// the time of writing, not of queueing.
void WriteQueuedLog(engine::TLogList& list, const TLogWriter& write);
// The log timer's drain: WriteQueuedLog, but nothing while the program is closing.
void DrainLogQueue(engine::TLogList& list, const TLogWriter& write);

}  // namespace app
