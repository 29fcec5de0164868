// The clock the sink measures its run time, its discard window and its RTP ticks with. Tests give
// the filter a fake one.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

namespace sinkfilter {

class ISinkClock {
public:
    virtual ~ISinkClock() = default;
    virtual std::chrono::steady_clock::time_point Now() = 0;
    // Milliseconds since an arbitrary start, wrapping at 2^32.
    uint32_t TickMs();
};

// The monotonic clock.
std::shared_ptr<ISinkClock> SteadySinkClock();

}  // namespace sinkfilter
