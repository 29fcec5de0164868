#include "components/BevelControl.h"

#include "components/ControlMessage.h"

namespace components {

TBevelControl::TBevelControl(QWidget* parent) : TOwnControl(parent) {}

bool TBevelControl::event(QEvent* event) {
    if (event->type() == TControlMessageEvent::TypeOf(wmLightEffect)) {
        const auto* message = static_cast<TControlMessageEvent*>(event);
        WMLightEffect(TColor(message->WParam), int(message->LParam));
        return true;
    }
    if (event->type() == TControlMessageEvent::TypeOf(wmBlinkState)) {
        WMBlinkState(static_cast<TControlMessageEvent*>(event)->WParam != 0);
        return true;
    }
    return TOwnControl::event(event);
}

}  // namespace components
