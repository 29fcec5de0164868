#include "installer/DisplayMemo.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include "components/Color.h"

namespace hollarin {

TDisplayMemo::TDisplayMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setFocusPolicy(Qt::StrongFocus);
    setCursorWidth(0);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, components::ToQColor(kDisplayMemoColor));
    setPalette(palette);
}

void TDisplayMemo::keyPressEvent(QKeyEvent* event) {
    QScrollBar* vertical = verticalScrollBar();
    QScrollBar* horizontal = horizontalScrollBar();
    switch (event->key()) {
    case Qt::Key_PageUp: vertical->triggerAction(QAbstractSlider::SliderPageStepSub); break;
    case Qt::Key_PageDown: vertical->triggerAction(QAbstractSlider::SliderPageStepAdd); break;
    case Qt::Key_End: vertical->triggerAction(QAbstractSlider::SliderToMaximum); break;
    case Qt::Key_Home: vertical->triggerAction(QAbstractSlider::SliderToMinimum); break;
    case Qt::Key_Left: horizontal->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case Qt::Key_Up: vertical->triggerAction(QAbstractSlider::SliderSingleStepSub); break;
    case Qt::Key_Right: horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    case Qt::Key_Down: vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
    default: break;
    }
    event->accept();  // every key is consumed, mapped or not
}

void TDisplayMemo::keyReleaseEvent(QKeyEvent* event) { event->accept(); }
void TDisplayMemo::inputMethodEvent(QInputMethodEvent* event) { event->accept(); }

// The left button is swallowed (a press gives the focus first); the other buttons get the text box's
// own handling.
void TDisplayMemo::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QPlainTextEdit::mousePressEvent(event);
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    event->accept();
}
void TDisplayMemo::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QPlainTextEdit::mouseReleaseEvent(event);
    event->accept();
}
void TDisplayMemo::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QPlainTextEdit::mouseDoubleClickEvent(event);
    event->accept();
}
void TDisplayMemo::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

void TDisplayMemo::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    setCursorWidth(0);  // the caret stays hidden while the memo has the focus
}

void TDisplayMemo::focusOutEvent(QFocusEvent* event) {
    setCursorWidth(1);
    QPlainTextEdit::focusOutEvent(event);
}

}  // namespace hollarin
