#include "app/windows/base/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace app {

namespace {

QRect AvailableArea(const QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// Resizes window to wanted, cut to area less the frame.
void SizeInside(QWidget& window, const QRect& area, QSize wanted) {
    const QMargins frame = FrameMargins(window);
    window.resize(wanted.boundedTo(area.size().shrunkBy(frame)));
}

// Puts the window's client area at clientTopLeft, moved as little as needed for its frame to lie inside
// area (its top-left corner first, where the frame is larger than the area).
void PlaceInside(QWidget& window, const QRect& area, QPoint clientTopLeft, bool always) {
    const QMargins frame = FrameMargins(window);
    const QPoint frameTopLeft = clientTopLeft - QPoint(frame.left(), frame.top());
    const QSize outer = window.size().grownBy(frame);
    const int left = std::clamp(frameTopLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width()));
    const int top = std::clamp(frameTopLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height()));
    if (always || QPoint(left, top) != frameTopLeft)
        window.setGeometry(QRect(QPoint(left + frame.left(), top + frame.top()), window.size()));
}

}  // namespace

void FitIntoScreen(QWidget& window, QSize wanted) {
    const QRect area = AvailableArea(window);
    if (area.isEmpty()) {
        window.resize(wanted);
        return;
    }
    const QRect before = window.geometry();
    SizeInside(window, area, wanted);
    // A window never shown is placed by the window manager at its first showing; one shown before comes
    // back where it was, so it is moved into the area while hidden too.
    if (!window.isVisible() && !window.testAttribute(Qt::WA_WState_Created)) return;
    // A window that changes its size keeps its middle, so that it grows towards both edges of the area
    // rather than out of one. The place is worked out from the client area and the frame as read now:
    // the widget's own frame position follows a new frame only at its next move.
    const QPoint grown((before.width() - window.width()) / 2, (before.height() - window.height()) / 2);
    PlaceInside(window, area, before.topLeft() + grown, grown != QPoint());
}

void CentreOnScreen(QWidget& window, QSize wanted) {
    const QRect area = AvailableArea(window);
    if (area.isEmpty()) {
        window.resize(wanted);
        return;
    }
    SizeInside(window, area, wanted);
    // The client area's place, set as such, is where the window manager puts it, framed or not.
    const QPoint clientTopLeft(area.left() + (area.width() - window.width()) / 2,
                               area.top() + (area.height() - window.height()) / 2);
    PlaceInside(window, area, clientTopLeft, true);
}

TScreenFit::TScreenFit(QWidget& window)
    : window_(window), frameWatch_(new TFrameWatch(window, [this] {
          if (centred_)
              CentreOnScreen(window_, Wanted());
          else
              FitIntoScreen(window_, Wanted());
      })) {}

TScreenFit::~TScreenFit() { delete frameWatch_; }

void TScreenFit::Fit(QSize wanted) {
    wanted_ = wanted;
    frameWatch_->Arm();
    FitIntoScreen(window_, wanted_);
}

void TScreenFit::Centre() {
    centred_ = true;
    frameWatch_->Arm();
    CentreOnScreen(window_, Wanted());
}

}  // namespace app
