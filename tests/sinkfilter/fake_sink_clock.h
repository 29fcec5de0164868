// A sink clock the test moves by hand.
#pragma once

#include <atomic>
#include <chrono>

#include "sinkfilter/sink_clock.h"

namespace fw_test {

class TFakeSinkClock final : public sinkfilter::ISinkClock {
public:
    std::chrono::steady_clock::time_point Now() override {
        return std::chrono::steady_clock::time_point(std::chrono::nanoseconds(nanos_.load()));
    }
    void Advance(std::chrono::nanoseconds d) { nanos_ += d.count(); }

private:
    std::atomic<int64_t> nanos_{1'000'000'000'000};
};

}  // namespace fw_test
