#include "platform/ui/ttimer.h"

#include <QTimer>
#include <QtGlobal>
#include <algorithm>
#include <climits>
#include <exception>

namespace platform {

struct TTimer::Shared {
    Handler onTimer;
    int ticking = 0;  // ticks under way (a handler may run a nested event loop)
};

namespace {

void RunTick(const TTimer::Handler& handler) {
    try {
        handler();
    } catch (const std::exception& ex) {
        qWarning("[timer] handler failed: %s", ex.what());
    } catch (...) {
        qWarning("[timer] handler failed");
    }
}

}  // namespace

TTimer::TTimer() : timer_(new QTimer), shared_(std::make_shared<Shared>()) {
    // A coarse timer may tick up to 5 % early; an interval here is a least wait (a hint's pause, a
    // double click's time), as the window system's timers keep it.
    timer_->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer_, &QTimer::timeout, [shared = shared_] {
        if (!shared->onTimer) return;
        // A copy: the handler may replace itself or destroy the timer while it runs.
        Handler handler = shared->onTimer;
        ++shared->ticking;
        RunTick(handler);
        --shared->ticking;
    });
}

TTimer::~TTimer() {
    timer_->stop();
    shared_->onTimer = nullptr;
    // Inside its own tick the QTimer is still emitting: it goes once control is back in the event loop.
    if (shared_->ticking > 0)
        timer_->deleteLater();
    else
        delete timer_;
}

void TTimer::SetInterval(uint32_t intervalMs) {
    intervalMs_ = intervalMs;
    Update();
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Update();
}

void TTimer::SetOnTimer(Handler handler) {
    shared_->onTimer = std::move(handler);
    Update();
}

void TTimer::Update() {
    timer_->stop();
    if (enabled_ && intervalMs_ > 0 && shared_->onTimer)
        timer_->start(static_cast<int>(std::min<uint32_t>(intervalMs_, INT_MAX)));
}

}  // namespace platform
