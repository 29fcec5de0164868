#include "engine/capture/broadcast/DelayWithMessages.h"

#include <QCoreApplication>
#include <chrono>
#include <thread>

namespace engine {

void DelayWithMessages(unsigned ms) {
    const auto start = std::chrono::steady_clock::now();
    const auto wait = std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() - start < wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kDelayPollMs));
        if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
    }
}

}  // namespace engine
