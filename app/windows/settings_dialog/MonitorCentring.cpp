#include "app/windows/settings_dialog/MonitorCentring.h"

#include <QEvent>

#include "engine/util/monitors.h"

namespace app {
namespace {

QMargins FrameMargins(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

}  // namespace

TMonitorCentring::TMonitorCentring(QWidget& window) : QObject(&window), window_(window) {
    window_.installEventFilter(this);
}

void TMonitorCentring::Centre(int monitor) {
    monitor_ = monitor;
    frame_ = FrameMargins(window_);
    const QSize outer = window_.size().grownBy(frame_);
    const engine::TPoint origin = engine::GetMonitorCenterPos(monitor, outer.width(), outer.height());
    window_.move(origin.X, origin.Y);  // move() places the frame's top-left corner
}

bool TMonitorCentring::eventFilter(QObject* watched, QEvent* event) {
    // The frame may come without any move of the client area (the window manager keeps the client
    // where it is and puts the frame around it), so every event of the shown window is a chance to
    // see it; once the frame is known nothing changes any more.
    if (watched != &window_ || monitor_ == 0) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Hide) monitor_ = 0;
    else if (FrameMargins(window_) != frame_) Centre(monitor_);
    return QObject::eventFilter(watched, event);
}

}  // namespace app
