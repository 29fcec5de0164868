#include "installer/zip/qt_message_pump.h"

#include <QCoreApplication>

namespace hollarin {

void TQtMessagePump::Pump() {
    // Without an application object there is no event loop to serve.
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

}  // namespace hollarin
