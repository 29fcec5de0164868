#include "app/LogQueue.h"

#include "app/MainLog.h"
#include "app/settings/app_globals.h"

namespace app {

bool QueueLogEntry(TLogList& list, const std::string& text, uint8_t level, std::chrono::system_clock::time_point time) {
    return list.AppendIfFewerThan(TLogListEntry{text, time, level}, kMaxQueuedLogEntries);
}

void DrainLogQueue(TLogList& list, TMainLog& log) {
    if (AppClosing) return;
    for (const TLogListEntry& entry : list.TakeAll()) log.WriteLog(entry.Text, entry.Level);
}

}  // namespace app
