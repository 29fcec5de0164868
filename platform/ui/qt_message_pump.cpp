#include "platform/ui/qt_message_pump.h"

#include <QCoreApplication>

namespace platform {

void TQtMessagePump::Pump() {
    // Without an application object there is no event loop to serve.
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

}  // namespace platform
