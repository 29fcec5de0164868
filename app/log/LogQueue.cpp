#include "app/log/LogQueue.h"

#include "app/log/MainLog.h"
#include "engine/settings/program_state.h"

namespace app {

bool QueueLogEntry(engine::TLogList& list, const std::string& text, uint8_t level, std::chrono::system_clock::time_point time) {
    return list.AppendIfFewerThan(engine::TLogListEntry{text, time, level}, engine::kMaxQueuedLogEntries);
}

void DrainLogQueue(engine::TLogList& list, TMainLog& log) {
    if (engine::AppClosing) return;
    for (const engine::TLogListEntry& entry : list.TakeAll()) log.WriteLog(entry.Text, entry.Level);
}

}  // namespace app
