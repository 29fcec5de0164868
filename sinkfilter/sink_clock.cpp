#include "sinkfilter/sink_clock.h"

namespace sinkfilter {
namespace {

class TSteadySinkClock final : public ISinkClock {
public:
    std::chrono::steady_clock::time_point Now() override { return std::chrono::steady_clock::now(); }
};

}  // namespace

uint32_t ISinkClock::TickMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(Now().time_since_epoch()).count());
}

std::shared_ptr<ISinkClock> SteadySinkClock() {
    static const std::shared_ptr<ISinkClock> clock = std::make_shared<TSteadySinkClock>();
    return clock;
}

}  // namespace sinkfilter
