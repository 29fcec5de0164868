// Runs the Qt event loop of a test (its QCoreApplication made beforehand) for a bounded time, so the
// timers, posted events and sockets of what is under test get their turn.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <functional>
#include <thread>

namespace fw_test {

// Runs the event loop until pred holds or the time is up; pred's last answer.
inline bool PumpUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
    QElapsedTimer clock;
    clock.start();
    while (!pred()) {
        if (clock.elapsed() >= timeout.count()) return pred();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));  // leaves the processor to the threads under test
    }
    return true;
}

// Runs the event loop for a while, whatever happens.
inline void PumpFor(std::chrono::milliseconds duration) {
    PumpUntil([] { return false; }, duration);
}

}  // namespace fw_test
