// Log entries waiting for the log window: TLogListEntry and the locked list LogList() that worker
// threads and the main window append to and the main window's one-second timer drains.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace engine {

enum TLogLevel : uint8_t {
    kLogSystem = 0,
    kLogWarning = 1,
    kLogError = 2,
    kLogDebug = 3,
    kLogInfo = 4,
    kLogDirectX = 5,
};

// "[sys]", "[wrn]", "[err]", "[dbg]", "[inf]", "[dx ]"; empty (no tag) for any other level.
const char* LogLevelTag(uint8_t level);

// The most entries the main window's queueing keeps pending; further entries are dropped.
constexpr size_t kMaxQueuedLogEntries = 100;

struct TLogListEntry {
    std::string Text;
    std::chrono::system_clock::time_point Time;
    uint8_t Level = kLogInfo;
};

class TLogList {
public:
    // Appends without limit (the snapshot and file-drop threads).
    void Append(TLogListEntry entry);
    // Appends unless limit entries are already pending; false when the entry was dropped.
    bool AppendIfFewerThan(TLogListEntry entry, size_t limit);
    // Removes and returns every pending entry, oldest first.
    std::vector<TLogListEntry> TakeAll();
    size_t Count() const;

private:
    mutable std::mutex mutex_;
    std::vector<TLogListEntry> entries_;
};

// The process-wide list; threads keep the pointer they were given.
std::shared_ptr<TLogList> LogList();

}  // namespace engine
