#include "app/windows/base/ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace app {

namespace {

// The frame's parts beyond the client area; none before a window manager has framed the window.
QMargins FrameMargins(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

}  // namespace

void FitIntoScreen(QWidget& window, QSize wanted) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        window.resize(wanted);
        return;
    }
    const QRect area = screen->availableGeometry();
    const QMargins frame = FrameMargins(window);
    const QSize room(area.width() - frame.left() - frame.right(), area.height() - frame.top() - frame.bottom());
    window.resize(wanted.boundedTo(room));
    if (!window.isVisible()) return;
    const QSize outer = window.size().grownBy(frame);
    const int left = std::clamp(window.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width()));
    const int top = std::clamp(window.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height()));
    if (QPoint(left, top) != window.pos()) window.move(left, top);
}

TScreenFit::TScreenFit(QWidget& window) : QObject(&window), window_(window) { window_.installEventFilter(this); }

void TScreenFit::Fit(QSize wanted) {
    wanted_ = wanted;
    frame_ = FrameMargins(window_);
    FitIntoScreen(window_, wanted_);
}

bool TScreenFit::eventFilter(QObject* watched, QEvent* event) {
    const bool placed = event->type() == QEvent::Move || event->type() == QEvent::Show;
    if (watched == &window_ && placed && wanted_.isValid() && FrameMargins(window_) != frame_) Fit(wanted_);
    return QObject::eventFilter(watched, event);
}

}  // namespace app
