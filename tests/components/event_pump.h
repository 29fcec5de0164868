// Runs the Qt event loop of a widget test for a bounded time, so timers of the components tick.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>

namespace fw_test {

inline bool PumpUntil(const std::function<bool()>& pred, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!pred()) {
        if (clock.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

inline void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
}

}  // namespace fw_test
