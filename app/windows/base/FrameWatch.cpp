#include "app/windows/base/FrameWatch.h"

#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>

namespace app {

QMargins FrameMargins(const QWidget& window) {
    // The platform window's margins are read afresh; the widget's own copy follows only its next move.
    if (const QWindow* handle = window.windowHandle(); handle && window.isVisible()) return handle->frameMargins();
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

TFrameWatch::TFrameWatch(QWidget& window, std::function<void()> frameChanged)
    : QObject(&window), window_(window), frameChanged_(std::move(frameChanged)) {
    window_.installEventFilter(this);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

TFrameWatch::~TFrameWatch() { QCoreApplication::instance()->removeNativeEventFilter(this); }

void TFrameWatch::Arm() {
    seen_ = FrameMargins(window_);
    armed_ = true;
}

// Every event of the window is a chance to see the frame; once it is known nothing changes any more.
bool TFrameWatch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() != QEvent::Hide) Look();
    return QObject::eventFilter(watched, event);
}

bool TFrameWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if ((!armed_ && !placeNews_) || eventType != "xcb_generic_event_t" || !window_.testAttribute(Qt::WA_WState_Created))
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    xcb_window_t about = XCB_WINDOW_NONE;
    switch (event->response_type & 0x7F) {
        case XCB_PROPERTY_NOTIFY: about = reinterpret_cast<const xcb_property_notify_event_t*>(event)->window; break;
        case XCB_REPARENT_NOTIFY: about = reinterpret_cast<const xcb_reparent_notify_event_t*>(event)->window; break;
        case XCB_CONFIGURE_NOTIFY: about = reinterpret_cast<const xcb_configure_notify_event_t*>(event)->window; break;
        default: return false;
    }
    if (about != xcb_window_t(window_.winId())) return false;
    QMetaObject::invokeMethod(this, [this] {
        Look();
        if (placeNews_) placeNews_();
    }, Qt::QueuedConnection);
    return false;
}

void TFrameWatch::Look() {
    if (!armed_ || !window_.isVisible() || FrameMargins(window_) == seen_) return;
    seen_ = FrameMargins(window_);
    if (frameChanged_) frameChanged_();
}

}  // namespace app
