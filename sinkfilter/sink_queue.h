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
// Buffers of items that went out, kept for the next samples: as many as a TCP client's write hands back
// at once, within a bound in bytes.
inline constexpr size_t kMaxSpareBuffers = 16;
inline constexpr size_t kMaxSpareBytes = 32 * 1024 * 1024;

using TSinkQueueItem = std::vector<uint8_t>;

class TSinkQueue {
public:
    // Drops the oldest items while more than kMaxQueuedSamples are held, then appends; the newest
    // sample always enters. Returns how many were dropped.
    size_t PushNewest(TSinkQueueItem item);
    // Puts items that could not be sent back at the head, in their order, where the next taker finds
    // them first.
    void PushFront(std::vector<TSinkQueueItem> items);
    std::optional<TSinkQueueItem> PopFront();
    // The first item and, behind it, as many more as keep the batch within maxItems and maxBytes (the
    // first one alone may be larger); empty when the queue is.
    std::vector<TSinkQueueItem> PopFrontBatch(size_t maxItems, size_t maxBytes);
    void Clear();
    size_t Count() const;
    // Called after every PushNewest (keep it short: it runs on the streaming thread). Once it is
    // replaced or cleared the old one is not called any more.
    void SetPushListener(std::function<void()> listener);

    // A sample is copied into the buffer of an item that went out, when one is kept, rather than into
    // fresh memory: no allocation and no new pages per sample. The buffer comes empty, its capacity
    // kept; the outputs hand back what they sent.
    TSinkQueueItem TakeSpareBuffer();
    void ReturnSpareBuffer(TSinkQueueItem buffer);

private:
    std::mutex listenerMutex_;
    std::function<void()> listener_;
    mutable std::mutex mutex_;
    std::deque<TSinkQueueItem> items_;
    std::mutex spareMutex_;
    std::vector<TSinkQueueItem> spares_;
    size_t spareBytes_ = 0;  // the capacity of the spares
};

}  // namespace sinkfilter
