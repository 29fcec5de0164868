#include "components/ControlMessage.h"

#include <QCoreApplication>
#include <QObject>

namespace components {

bool SendControlMessage(QObject* receiver, uint32_t msg, intptr_t wParam, intptr_t lParam) {
    if (!receiver) return false;
    TControlMessageEvent event(msg, wParam, lParam);
    QCoreApplication::sendEvent(receiver, &event);
    return true;
}

}  // namespace components
