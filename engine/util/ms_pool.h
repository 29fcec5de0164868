// A pool of memory buffers of the same shape as TXmlDocPool. The main window creates it with 50 and
// keeps it for its lifetime; nothing draws from it.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace engine {

constexpr int kMaxPooledStreams = 50;

class TMsPool {
public:
    // count is clamped to 1 .. kMaxPooledStreams.
    explicit TMsPool(int count);
    TMsPool(const TMsPool&) = delete;
    TMsPool& operator=(const TMsPool&) = delete;

    int Count() const;

private:
    struct TMsPoolEntry {
        std::vector<uint8_t> Stream;
        bool InUse = false;
        int Index = 0;
    };

    mutable std::mutex mutex_;
    std::vector<TMsPoolEntry> entries_;
};

}  // namespace engine
