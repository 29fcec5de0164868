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
    if (!window.isVisible()) return;
    const QSize outer = window.size().grownBy(frame);
    const int left = std::clamp(window.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width()));
    const int top = std::clamp(window.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height()));
    if (QPoint(left, top) != window.pos()) window.move(left, top);
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
