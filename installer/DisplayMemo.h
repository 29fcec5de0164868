// The install window's read-only information text: no caret, no typing, no mouse editing; the
// navigation keys scroll it (Page Up/Down, Home/End, the arrow keys), a left click only gives it the
// focus; the mouse's other buttons get the text box's own handling.
#pragma once

#include <QPlainTextEdit>

namespace hollarin {

constexpr unsigned kDisplayMemoColor = 0xC0FFFF;

class TDisplayMemo : public QPlainTextEdit {
public:
    explicit TDisplayMemo(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace hollarin
