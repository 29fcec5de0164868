// A timer of the user-interface thread in the manner of the class library's timer component: it ticks
// every Interval milliseconds while Enabled, calling OnTimer on the thread that made it. As there, a new
// timer is enabled with an interval of 1000 ms, and it ticks only while its interval is above zero and
// it has a handler; changing the interval or the handler starts the countdown again. A one-shot timer
// disables itself in its handler. The handler may stop, restart or destroy its own timer.
// Create, use and destroy a TTimer on one thread, which runs a Qt event loop.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class QTimer;

namespace platform {

class TTimer {
public:
    using Handler = std::function<void()>;

    TTimer();
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    uint32_t Interval() const { return intervalMs_; }
    void SetInterval(uint32_t intervalMs);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    void SetOnTimer(Handler handler);

private:
    struct Shared;  // what a tick in progress keeps alive
    void Update();

    QTimer* timer_;
    std::shared_ptr<Shared> shared_;
    uint32_t intervalMs_ = 1000;
    bool enabled_ = true;
};

}  // namespace platform
