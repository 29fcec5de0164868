#include "app/log/LogQueue.h"

#include "engine/settings/program_state.h"

namespace app {

bool QueueLogEntry(engine::TLogList& list, const std::string& text, uint8_t level, std::chrono::system_clock::time_point time) {
    return list.AppendIfFewerThan(engine::TLogListEntry{text, time, level}, engine::kMaxQueuedLogEntries);
}

void WriteQueuedLog(engine::TLogList& list, const TLogWriter& write) {
    for (const engine::TLogListEntry& entry : list.TakeAll()) write(entry.Text, entry.Level);
}

void DrainLogQueue(engine::TLogList& list, const TLogWriter& write) {
    if (!engine::AppClosing) WriteQueuedLog(list, write);
}

}  // namespace app
