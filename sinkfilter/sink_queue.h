// The sample queue between the filter's streaming thread and the network output: whole items (a
// sample, with its header when that is on), at most kMaxQueuedSamples + 1 right after an insertion,
// the oldest dropped first. Shared by the filter, its sender and the TCP server's connections.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace sinkfilter {

// Beyond this many items the oldest go before each insertion.
inline constexpr size_t kMaxQueuedSamples = 100;

using TSinkQueueItem = std::vector<uint8_t>;

class TSinkQueue {
public:
    // Drops the oldest items while more than kMaxQueuedSamples are held, then appends; the newest
    // sample always enters. Returns how many were dropped.
    size_t PushNewest(TSinkQueueItem item);
    // Puts an item that could not be sent back at the head, where the next taker finds it first.
    void PushFront(TSinkQueueItem item);
    std::optional<TSinkQueueItem> PopFront();
    void Clear();
    size_t Count() const;
    // Called after every PushNewest (keep it short: it runs on the streaming thread). Once it is
    // replaced or cleared the old one is not called any more.
    void SetPushListener(std::function<void()> listener);

private:
    std::mutex listenerMutex_;
    std::function<void()> listener_;
    mutable std::mutex mutex_;
    std::deque<TSinkQueueItem> items_;
};

}  // namespace sinkfilter
