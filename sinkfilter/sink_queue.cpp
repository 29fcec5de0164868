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

void TSinkQueue::PushFront(std::vector<TSinkQueueItem> items) {
    std::lock_guard lock(mutex_);
    items_.insert(items_.begin(), std::make_move_iterator(items.begin()), std::make_move_iterator(items.end()));
}

std::optional<TSinkQueueItem> TSinkQueue::PopFront() {
    std::lock_guard lock(mutex_);
    if (items_.empty()) return std::nullopt;
    TSinkQueueItem item = std::move(items_.front());
    items_.pop_front();
    return item;
}

std::vector<TSinkQueueItem> TSinkQueue::PopFrontBatch(size_t maxItems, size_t maxBytes) {
    std::vector<TSinkQueueItem> batch;
    size_t bytes = 0;
    std::lock_guard lock(mutex_);
    while (!items_.empty() && batch.size() < maxItems &&
           (batch.empty() || bytes + items_.front().size() <= maxBytes)) {
        bytes += items_.front().size();
        batch.push_back(std::move(items_.front()));
        items_.pop_front();
    }
    return batch;
}

void TSinkQueue::Clear() {
    std::deque<TSinkQueueItem> gone;
    {
        std::lock_guard lock(mutex_);
        gone.swap(items_);
    }
}

TSinkQueueItem TSinkQueue::TakeSpareBuffer() {
    std::lock_guard lock(spareMutex_);
    if (spares_.empty()) return {};
    TSinkQueueItem buffer = std::move(spares_.back());
    spares_.pop_back();
    spareBytes_ -= buffer.capacity();
    return buffer;
}

void TSinkQueue::ReturnSpareBuffer(TSinkQueueItem buffer) {
    buffer.clear();
    std::lock_guard lock(spareMutex_);
    if (spares_.size() >= kMaxSpareBuffers || spareBytes_ + buffer.capacity() > kMaxSpareBytes) return;
    spareBytes_ += buffer.capacity();
    spares_.push_back(std::move(buffer));
}

size_t TSinkQueue::Count() const {
    std::lock_guard lock(mutex_);
    return items_.size();
}

}  // namespace sinkfilter
