#include "engine/util/ms_pool.h"

#include <algorithm>

namespace engine {

TMsPool::TMsPool(int count) {
    std::lock_guard lock(mutex_);
    const int n = std::clamp(count, 1, kMaxPooledStreams);
    for (int i = 0; i < n; ++i) entries_.push_back(TMsPoolEntry{{}, false, i});
}

int TMsPool::Count() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(entries_.size());
}

}  // namespace engine
