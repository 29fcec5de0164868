#include "app/startup/FramewickApplication.h"

#include <exception>

#include "app/log/LogQueue.h"

namespace app {

TFramewickApplication::TFramewickApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TFramewickApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        Report(e.what());
    } catch (...) {
        Report("unknown exception");
    }
    return false;
}

void TFramewickApplication::Report(const std::string& message) {
    if (errorHandler_ && errorHandler_(message)) return;
    QueueLogEntry(*engine::LogList(), "General error : " + message, engine::kLogError);
}

}  // namespace app
