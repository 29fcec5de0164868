// The hint of the tray icon's drop window: the hint text on the tooltip colour inside a black frame,
// shown with its top 20 pixels above the pointer, as wide as the text with the hint's margins and as
// high as one line of it. It never takes the pointer or the focus, so showing it over the drop window
// does not make the mouse leave that window.
#pragma once

#include <QPoint>
#include <QString>
#include <QWidget>

namespace components {

class TDragDropHintWindow : public QWidget {
public:
    static constexpr int kAbovePointerPx = 20;
    static constexpr int kTextMarginPx = 3;  // left and right of the text

    TDragDropHintWindow();

    // The application's hint pauses: before a hint shows, and how long it stays.
    static int HintPauseMs();
    static int HintHidePauseMs();

    void ActivateHint(QPoint pointer, const QString& text);
    const QString& Text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

}  // namespace components
