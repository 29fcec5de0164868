#include "sinkfilter/sink_queue.h"

namespace sinkfilter {

size_t TSinkQueue::PushNewest(TSinkQueueItem item) {
    size_t dropped = 0;
    {
        std::lock_guard lock(mutex_);
        while (items_.size() > kMaxQueuedSamples) {
            items_.pop_front();
            ++dropped;
        }
        items_.push_back(std::move(item));
    }
    std::lock_guard lock(listenerMutex_);
    if (listener_) listener_();
    return dropped;
}

void TSinkQueue::SetPushListener(std::function<void()> listener) {
    std::lock_guard lock(listenerMutex_);
    listener_ = std::move(listener);
}

void TSinkQueue::PushFront(TSinkQueueItem item) {
    std::lock_guard lock(mutex_);
    items_.push_front(std::move(item));
}

std::optional<TSinkQueueItem> TSinkQueue::PopFront() {
    std::lock_guard lock(mutex_);
    if (items_.empty()) return std::nullopt;
    TSinkQueueItem item = std::move(items_.front());
    items_.pop_front();
    return item;
}

void TSinkQueue::Clear() {
    std::deque<TSinkQueueItem> gone;
    {
        std::lock_guard lock(mutex_);
        gone.swap(items_);
    }
}

size_t TSinkQueue::Count() const {
    std::lock_guard lock(mutex_);
    return items_.size();
}

}  // namespace sinkfilter
