#include "sinkfilter/sender_io.h"

#include <algorithm>

namespace sinkfilter {
namespace {
// How long one turn of RunUntil waits before it checks the time and the stop request again.
constexpr std::chrono::milliseconds kRunSliceMs{10};
}  // namespace

TSenderIo::TSenderIo() : work_(boost::asio::make_work_guard(io_)) {}

void TSenderIo::RequestStop() {
    stop_ = true;
    io_.stop();
}

bool TSenderIo::Pause(std::chrono::milliseconds duration) {
    if (StopRequested()) return false;
    io_.run_for(duration);
    return !StopRequested();
}

bool TSenderIo::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done() && !StopRequested()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        io_.run_one_for(std::min(left, kRunSliceMs));
    }
    return done();
}

}  // namespace sinkfilter
