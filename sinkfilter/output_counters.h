// What the network output of one activation has done, read by GetStats: the bytes of the items it
// took from the queue and the datagrams, writes or messages that went out.
#pragma once

#include <atomic>
#include <cstdint>

namespace sinkfilter {

struct TSinkOutputCounters {
    std::atomic<int64_t> bytes{0};
    std::atomic<int64_t> samples{0};
};

}  // namespace sinkfilter
