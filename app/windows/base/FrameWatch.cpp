#include "app/windows/base/FrameWatch.h"

#include <QEvent>

namespace app {

QMargins FrameMargins(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

TFrameWatch::TFrameWatch(QWidget& window, std::function<void()> frameChanged)
    : QObject(&window), window_(window), frameChanged_(std::move(frameChanged)) {
    window_.installEventFilter(this);
}

void TFrameWatch::Arm() {
    seen_ = FrameMargins(window_);
    armed_ = true;
}

// Every event of the window is a chance to see the frame; once it is known nothing changes any more.
bool TFrameWatch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && armed_ && event->type() != QEvent::Hide && FrameMargins(window_) != seen_) {
        seen_ = FrameMargins(window_);
        if (frameChanged_) frameChanged_();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace app
