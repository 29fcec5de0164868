#include "components/OwnControl.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>

namespace components {

TOwnControl::TOwnControl(QWidget* parent) : TControl(parent) {}

QWidget* TOwnControl::DragTarget() {
    switch (hitTest_) {
    case htSelf:
        return this;
    case htParent:
        return parentWidget() ? parentWidget() : this;
    case htForm:
        if (QWidget* active = QApplication::activeWindow()) return active;
        return window();
    case htNone:
        break;
    }
    return nullptr;
}

void TOwnControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || hitTest_ == htNone) {
        TControl::mousePressEvent(event);
        return;
    }
    pressed_ = true;
    dragTarget_ = DragTarget();
    dragStartCursor_ = event->globalPosition().toPoint();
    if (dragTarget_) dragStartPos_ = dragTarget_->pos();
    if (dragTarget_ && dragTarget_->isWindow() && dragTarget_->windowHandle() &&
        dragTarget_->windowHandle()->startSystemMove())
        dragTarget_.clear();  // the window manager moves it
}

void TOwnControl::mouseMoveEvent(QMouseEvent* event) {
    if (pressed_ && dragTarget_ && (event->buttons() & Qt::LeftButton))
        dragTarget_->move(dragStartPos_ + (event->globalPosition().toPoint() - dragStartCursor_));
    TControl::mouseMoveEvent(event);
}

void TOwnControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) {
        TControl::mouseReleaseEvent(event);
        return;
    }
    pressed_ = false;
    dragTarget_.clear();
    RaiseMouseUp(Qt::LeftButton, Qt::NoModifier, 0, 0);
}

}  // namespace components
