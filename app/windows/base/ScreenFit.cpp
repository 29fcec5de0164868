#include "app/windows/base/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace app {

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
    // A window never shown is placed by the window manager at its first showing; one shown before comes
    // back where it was, so it is moved into the area while hidden too.
    if (!window.isVisible() && !window.testAttribute(Qt::WA_WState_Created)) return;
    // The place is worked out from the client area and the frame as read now: the widget's own frame
    // position follows a new frame only at its next move.
    const QPoint frameTopLeft = window.geometry().topLeft() - QPoint(frame.left(), frame.top());
    const QSize outer = window.size().grownBy(frame);
    const int left = std::clamp(frameTopLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width()));
    const int top = std::clamp(frameTopLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height()));
    if (QPoint(left, top) != frameTopLeft)
        window.setGeometry(QRect(QPoint(left + frame.left(), top + frame.top()), window.size()));
}

TScreenFit::TScreenFit(QWidget& window)
    : window_(window), frameWatch_(new TFrameWatch(window, [this] { FitIntoScreen(window_, wanted_); })) {}

TScreenFit::~TScreenFit() { delete frameWatch_; }

void TScreenFit::Fit(QSize wanted) {
    wanted_ = wanted;
    frameWatch_->Arm();
    FitIntoScreen(window_, wanted_);
}

}  // namespace app
