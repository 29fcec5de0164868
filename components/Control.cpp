#include "components/Control.h"

#include <QEnterEvent>
#include <QEvent>
#include <QMouseEvent>

namespace components {

TControl::TControl(QWidget* parent) : QWidget(parent) {}

void TControl::changeEvent(QEvent* event) {
    if (repaintOnFontOrEnabled_ && (event->type() == QEvent::FontChange || event->type() == QEvent::EnabledChange))
        update();
    QWidget::changeEvent(event);
}

TColor TControl::Color() const {
    if (!parentColor_) return color_;
    QWidget* parent = parentWidget();
    if (!parent) return color_;
    if (auto* control = dynamic_cast<TControl*>(parent)) return control->Color();
    return FromQColor(parent->palette().color(parent->backgroundRole()));
}

void TControl::SetColor(TColor color) {
    if (color == color_ && !parentColor_) return;
    color_ = color;
    parentColor_ = false;
    AppearanceChanged();
}

void TControl::SetParentColor(bool value) {
    if (value == parentColor_) return;
    parentColor_ = value;
    AppearanceChanged();
}

void TControl::SetFontColor(TColor color) {
    if (color == fontColor_) return;
    fontColor_ = color;
    AppearanceChanged();
}

void TControl::CMMouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::CMMouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::RaiseMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::RaiseMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::RaiseClick() {
    if (OnClick) OnClick(this);
}

void TControl::enterEvent(QEnterEvent*) { CMMouseEnter(); }

void TControl::leaveEvent(QEvent*) { CMMouseLeave(); }

void TControl::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) clickArmed_ = true;
    RaiseMouseDown(event->button(), event->modifiers(), pos.x(), pos.y());
}

void TControl::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        const bool click = clickArmed_ && rect().contains(pos);
        clickArmed_ = false;
        if (click) RaiseClick();
    }
    RaiseMouseUp(event->button(), event->modifiers(), pos.x(), pos.y());
}

void TControl::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (OnDblClick) OnDblClick(this);
    RaiseMouseDown(event->button(), event->modifiers(), pos.x(), pos.y());
}

void TControl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (OnMouseMove) OnMouseMove(this, event->modifiers(), pos.x(), pos.y());
}

}  // namespace components
