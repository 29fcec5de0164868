#include "app/windows/settings_dialog/MonitorCentring.h"

#include <QEvent>

#include "engine/util/monitors.h"

namespace app {

TMonitorCentring::TMonitorCentring(QWidget& window)
    : QObject(&window), window_(window), frameWatch_(new TFrameWatch(window, [this] { Place(); })) {
    window_.installEventFilter(this);
}

void TMonitorCentring::Centre(int monitor) {
    monitor_ = monitor;
    frameWatch_->Arm();
    Place();
}

void TMonitorCentring::Place() {
    const QSize outer = window_.size().grownBy(FrameMargins(window_));
    const engine::TPoint origin = engine::GetMonitorCenterPos(monitor_, outer.width(), outer.height());
    window_.move(origin.X, origin.Y);  // move() places the frame's top-left corner
}

bool TMonitorCentring::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Hide) frameWatch_->Disarm();
    return QObject::eventFilter(watched, event);
}

}  // namespace app
