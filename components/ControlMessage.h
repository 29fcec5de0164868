// The private messages between the animation drivers and their control. They are sent, not posted:
// the receiver handles a step (and paints it) before the driver's timer tick returns. A receiver that
// has gone is skipped.
#pragma once

#include <QEvent>
#include <cstdint>

class QObject;

namespace components {

// wParam: the colour of this step (0x00BBGGRR); lParam: the effect id (1 outer bevel or button face,
// 2 background or caption).
constexpr uint32_t wmLightEffect = 0x4B1;
// wParam: 1 on phase, 0 off phase (also when blinking is switched off); lParam: 0.
constexpr uint32_t wmBlinkState = 0x4B2;

class TControlMessageEvent : public QEvent {
public:
    TControlMessageEvent(uint32_t msg, intptr_t wParam, intptr_t lParam)
        : QEvent(TypeOf(msg)), Msg(msg), WParam(wParam), LParam(lParam) {}

    // One event type per message id, so receivers can tell the messages apart by type alone.
    static QEvent::Type TypeOf(uint32_t msg) { return QEvent::Type(QEvent::User + int(msg)); }
    static bool IsControlMessage(const QEvent* e) {
        return e->type() == TypeOf(wmLightEffect) || e->type() == TypeOf(wmBlinkState);
    }

    const uint32_t Msg;
    const intptr_t WParam;
    const intptr_t LParam;
};

// Delivers the message to the receiver at once, on the calling (user-interface) thread.
// False when there is no receiver.
bool SendControlMessage(QObject* receiver, uint32_t msg, intptr_t wParam, intptr_t lParam);

}  // namespace components
