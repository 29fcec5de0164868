// The main window's log queue: any thread queues, the user-interface thread drains once a second.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "engine/settings/log_list.h"

namespace app {

class TMainLog;

// Appends an entry unless kMaxQueuedLogEntries are pending already (then it is dropped: false).
bool QueueLogEntry(engine::TLogList& list, const std::string& text, uint8_t level,
                   std::chrono::system_clock::time_point time = std::chrono::system_clock::now());

// Writes every pending entry, oldest first, through log.WriteLog and removes it; nothing while the
// program is closing. The lines are stamped with the time of writing, not of queueing.
void DrainLogQueue(engine::TLogList& list, TMainLog& log);

}  // namespace app
