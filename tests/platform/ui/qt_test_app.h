// The QCoreApplication of a test program (made on first use, kept to the end) and a bounded event pump.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <functional>

inline QCoreApplication& TestApp() {
    static int argc = 1;
    static char name[] = "platform_ui_test";
    static char* argv[] = {name, nullptr};
    static auto* app = new QCoreApplication(argc, argv);
    return *app;
}

// Runs the event loop until pred holds or the time is up; returns pred's last answer.
inline bool PumpUntil(const std::function<bool()>& pred, std::chrono::milliseconds timeout) {
    TestApp();
    QElapsedTimer clock;
    clock.start();
    while (!pred()) {
        if (clock.elapsed() >= timeout.count()) return pred();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Runs the event loop for a while, whatever happens.
inline void PumpFor(std::chrono::milliseconds duration) {
    PumpUntil([] { return false; }, duration);
}
